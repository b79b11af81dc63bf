// A local file name to a file:// URI.
#include "base/errors.h"
#include "base/host_contract.h"
#include "base/text.h"
#include "convert/convert.h"

// The host makes the name canonical, Windows makes the URI, and the URI comes
// back with each "%" doubled (or made safe). A doubled URI that would not fit
// the buffer is refused rather than cut, since a cut URI names another file;
// the buffer then keeps the canonical name, as it does when Windows refuses.
// Made safe, the URI keeps the length Windows gave it, and so always fits.
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
  if (safePercent != 0) {
    for (char16_t* c = scratch; *c != u'\0'; ++c) {
      if (*c == u'%') *c = kSafePercent;
    }
  } else if (!DoublePercentSigns(scratch, CountOf(scratch))) {
    ReportError(u"Error: the URI is too long to return\r\n");
    return -1;
  }
  TextCopy(buffer, MAX_ARG_LEN, scratch);
  return 0;
}
