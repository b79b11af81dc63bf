// The four variable functions: each checks and ends the host's buffer, runs
// its conversion and reports what went wrong.
#include "convert/functions.h"

#include "base/errors.h"
#include "base/host_contract.h"
#include "base/text.h"
#include "convert/convert.h"

int32_t VariableFileToUri(char16_t* buffer, int32_t safePercent) {
  if (buffer == nullptr) return -1;
  TerminateText(buffer, MAX_ARG_LEN);
  return FileToUri(buffer, safePercent);
}

// U+FF05 stands for "%" in the argument. On a failure the buffer keeps the
// trimmed argument, its U+FF05 already turned into "%".
int32_t VariableUriToFile(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  TerminateText(buffer, MAX_ARG_LEN);
  TrimWhitespace(buffer);
  if (buffer[0] == u'\0') {
    ReportError(u"Missing string\r\n");
    return -1;
  }
  for (char16_t* c = buffer; *c != u'\0'; ++c) {
    if (*c == kSafePercent) *c = u'%';
  }
  platform::HRESULT windowsResult = platform::S_OK;
  switch (UriToFile(buffer, &windowsResult)) {
    case UriToFileResult::kConverted:
      return 0;
    case UriToFileResult::kRefused:
      ReportError(u"Error 0x%08x converting string\r\n", static_cast<uint32_t>(windowsResult));
      return -1;
    case UriToFileResult::kNoFileName:
      ReportError(u"No data returned\r\n");
      return -1;
    case UriToFileResult::kTooLongToQuote:
      ReportError(u"Error: the file name is too long to return in quotes\r\n");
      return -1;
    case UriToFileResult::kTooLong:
      ReportError(u"Error: the file name is too long to return\r\n");
      return -1;
    case UriToFileResult::kQuoteInName:
      ReportError(u"Error: a file name cannot hold a double quote\r\n");
      return -1;
  }
  return -1;
}

// The argument goes to the host untrimmed; an empty one is kind 0 without
// asking. Every kind, 0 included, is a success.
int32_t VariableIsUrl(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  TerminateText(buffer, MAX_ARG_LEN);
  const int kind = buffer[0] == u'\0' ? 0 : QueryIsURL(buffer);
  platform::wsprintfW(buffer, u"%d", kind);
  return 0;
}
