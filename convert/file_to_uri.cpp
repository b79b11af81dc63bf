// A local file name to a file:// URI.
#include "base/errors.h"
#include "base/host_contract.h"
#include "base/text.h"
#include "convert/convert.h"

// The host makes the name canonical, Windows makes the URI, and the URI comes
// back with each "%" doubled (or made safe), cut silently at 8,191 characters.
// A doubled "%" that straddles the cut leaves a single "%" at the end; a
// surrogate pair that straddles it is left out whole, so the text never ends
// in half a character.
int32_t FileToUri(char16_t* buffer, int32_t safePercent) {
  if (buffer == nullptr) return -1;
  char16_t scratch[MAX_ARG_LEN];
  TextClear(scratch, CountOf(scratch));
  platform::DWORD length = MAX_ARG_LEN;
  TrimWhitespace(buffer);
  if (buffer[0] == u'\0') {
    ReportError(u"Missing filename\r\n");
    return -1;
  }
  QueryTrueName(buffer, scratch);
  TerminateText(scratch);
  TextCopy(buffer, MAX_ARG_LEN, scratch);
  const platform::HRESULT result = platform::UrlCreateFromPathW(buffer, scratch, &length, 0);
  if (result != platform::S_OK && result != platform::S_FALSE) {
    ReportError(u"No data returned\r\n");
    return -1;
  }
  TerminateText(scratch);
  size_t written = 0;
  const char16_t* next = scratch;
  for (; *next != u'\0' && written < MAX_ARG_LEN - 1; ++next) {
    if (*next != u'%') {
      buffer[written++] = *next;
    } else if (safePercent != 0) {
      buffer[written++] = kSafePercent;
    } else {
      buffer[written++] = u'%';
      if (written < MAX_ARG_LEN - 1) buffer[written++] = u'%';
    }
  }
  if (written > 0 && IsHighSurrogate(buffer[written - 1]) && IsLowSurrogate(*next)) --written;
  buffer[written] = u'\0';
  return 0;
}
