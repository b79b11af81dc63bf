// A file:// URI to a local file name.
#include "base/text.h"
#include "convert/convert.h"

namespace {

// Writes name into buffer (MAX_ARG_LEN characters), in double quotes when the
// quote rule asks for them. False, and the buffer untouched, when the quoted
// name would not fit.
bool PutFileName(const char16_t* name, char16_t* buffer) {
  const size_t nameLength = TextLength(name);
  const bool quoted = CountQuoteTriggers(name) != 0;
  if (nameLength + (quoted ? 2 : 0) > MAX_ARG_LEN - 1) return false;
  size_t end = 0;
  if (quoted) buffer[end++] = u'"';
  for (size_t i = 0; i < nameLength; ++i) buffer[end + i] = name[i];
  end += nameLength;
  if (quoted) buffer[end++] = u'"';
  buffer[end] = u'\0';
  return true;
}

// No Windows file name holds a double quote, and no quoting can carry one:
// the quote would end the quotes around the name, and the shell would read
// what follows it as more of the command.
bool HoldsDoubleQuote(const char16_t* name) {
  for (; *name != u'\0'; ++name) {
    if (*name == u'"') return true;
  }
  return false;
}

}  // namespace

// Windows decodes the URI; the name is used as Windows gives it, neither made
// canonical nor re-escaped. Windows' decoding only ever shortens the text, and
// "file:" alone takes five characters, so with Windows' own conversion the
// quoted name always fits; the check guards the buffer whatever the
// conversion returns.
UriToFileResult UriToFile(char16_t* buffer, platform::HRESULT* windowsResult) {
  char16_t name[MAX_ARG_LEN];
  TextClear(name, CountOf(name));
  platform::DWORD length = MAX_ARG_LEN;
  *windowsResult = platform::PathCreateFromUrlW(buffer, name, &length, 0);
  if (*windowsResult != platform::S_OK && *windowsResult != platform::S_FALSE) {
    return UriToFileResult::kRefused;
  }
  TerminateText(name);
  if (name[0] == u'\0') return UriToFileResult::kNoFileName;
  if (HoldsDoubleQuote(name)) return UriToFileResult::kQuoteInName;
  if (!PutFileName(name, buffer)) return UriToFileResult::kTooLongToQuote;
  return UriToFileResult::kConverted;
}
