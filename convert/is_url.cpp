// @ISURL: the kind of internet URL, as the host classifies it.
#include "convert/convert.h"
#include "platform/platform.h"
#include "base/host.h"
#include "base/text.h"

// The argument goes to the host untrimmed; an empty one is kind 0 without
// asking. Every kind, 0 included, is a success.
PLUGIN_EXPORT int f_isurl(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  buffer[MAX_ARG_LEN - 1] = u'\0';
  const int kind = buffer[0] == u'\0' ? 0 : QueryIsURL(buffer);
  platform::wsprintfW(buffer, u"%d", kind);
  return 0;
}
