// @URI2FILE: a file:// URI to a local file name.
#include "convert/convert.h"
#include "base/errors.h"
#include "base/host.h"
#include "base/text.h"

// U+FF05 stands for "%" in the argument. Windows decodes the URI; the name
// comes back as Windows gives it, in double quotes when the quote rule asks
// for them. A quoted name that would not fit the buffer is refused with a
// message rather than returned without its closing quote. (Windows' decoding
// only ever shortens the text, and "file:" alone takes five characters, so
// with Windows' own conversion the quoted name always fits; the check guards
// the buffer whatever the conversion returns.)
PLUGIN_EXPORT int f_uri2file(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  buffer[MAX_ARG_LEN - 1] = u'\0';
  char16_t scratch[MAX_ARG_LEN];
  TextClear(scratch, CountOf(scratch));
  platform::DWORD length = MAX_ARG_LEN;
  TrimWhitespace(buffer);
  if (buffer[0] == u'\0') {
    ReportError(u"Missing string\r\n");
    return -1;
  }
  for (char16_t* c = buffer; *c != u'\0'; ++c) {
    if (*c == SAFE_PERCENT) *c = u'%';
  }
  const platform::HRESULT result = platform::PathCreateFromUrlW(buffer, scratch, &length, 0);
  if (result != 0 && result != 1) {
    ErrorPrefix();
    Qprintf(StandardError(), u"Error 0x%08x converting string\r\n", static_cast<uint32_t>(result));
    return -1;
  }
  scratch[CountOf(scratch) - 1] = u'\0';
  if (scratch[0] == u'\0') {
    ReportError(u"No data returned\r\n");
    return -1;
  }
  const size_t nameLength = TextLength(scratch);
  const bool quoted = CountQuoteTriggers(scratch) != 0;
  if (quoted && nameLength + 2 > MAX_ARG_LEN - 1) {
    ReportError(u"Error: the file name is too long to return in quotes\r\n");
    return -1;
  }
  // The name's length is known and fits, quotes included, so it is copied as
  // one block rather than appended piece by piece.
  size_t end = 0;
  if (quoted) buffer[end++] = u'"';
  for (size_t i = 0; i < nameLength; ++i) buffer[end + i] = scratch[i];
  end += nameLength;
  if (quoted) buffer[end++] = u'"';
  buffer[end] = u'\0';
  return 0;
}
