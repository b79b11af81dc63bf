// A file:// URI to a local file name.
#include "base/text.h"
#include "convert/convert.h"

namespace {

// Writes name into buffer (MAX_ARG_LEN characters), in double quotes when the
// quote rule asks for them and with each "%" doubled: the shell scans a
// function's result again, and a single "%" would start a variable there
// (or a function, "%@EXEC[...]" among them). Returns kConverted, or the
// reason the name does not fit, the buffer untouched.
UriToFileResult PutFileName(const char16_t* name, char16_t* buffer) {
  const size_t nameLength = TextLength(name);
  const bool quoted = CountQuoteTriggers(name) != 0;
  const UriToFileResult tooLong =
      quoted ? UriToFileResult::kTooLongToQuote : UriToFileResult::kTooLong;
  if (nameLength + (quoted ? 2 : 0) > MAX_ARG_LEN - 1) return tooLong;
  char16_t result[MAX_ARG_LEN];
  size_t end = 0;
  if (quoted) result[end++] = u'"';
  for (size_t i = 0; i < nameLength; ++i) result[end++] = name[i];
  if (quoted) result[end++] = u'"';
  result[end] = u'\0';
  if (!DoublePercentSigns(result, CountOf(result))) return tooLong;
  TextCopy(buffer, MAX_ARG_LEN, result);
  return UriToFileResult::kConverted;
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
// "file:" alone takes five characters, so the quoted name always fits; its
// doubled "%" signs may not.
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
  return PutFileName(name, buffer);
}
