// @FILE2URI and @FILE2URIS: a local file name to a file:// URI.
#include "convert/convert.h"
#include "base/errors.h"
#include "base/host.h"
#include "base/text.h"

// The host makes the name canonical, Windows makes the URI, and the URI comes
// back with each "%" doubled (or made safe), cut silently at 8,191 characters.
// A doubled "%" that straddles the cut leaves a single "%" at the end.
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
  scratch[CountOf(scratch) - 1] = u'\0';
  TextCopy(buffer, MAX_ARG_LEN, scratch);
  const platform::HRESULT result = platform::UrlCreateFromPathW(buffer, scratch, &length, 0);
  if (result != platform::S_OK && result != platform::S_FALSE) {
    ReportError(u"No data returned\r\n");
    return -1;
  }
  scratch[CountOf(scratch) - 1] = u'\0';
  size_t written = 0;
  for (const char16_t* c = scratch; *c != u'\0' && written < MAX_ARG_LEN - 1; ++c) {
    if (*c != u'%') {
      buffer[written++] = *c;
    } else if (safePercent != 0) {
      buffer[written++] = SAFE_PERCENT;
    } else {
      buffer[written++] = u'%';
      if (written < MAX_ARG_LEN - 1) buffer[written++] = u'%';
    }
  }
  buffer[written] = u'\0';
  return 0;
}

PLUGIN_EXPORT int f_file2uri(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  buffer[MAX_ARG_LEN - 1] = u'\0';
  return FileToUri(buffer, 0);
}

PLUGIN_EXPORT int f_file2uris(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  buffer[MAX_ARG_LEN - 1] = u'\0';
  return FileToUri(buffer, 1);
}
