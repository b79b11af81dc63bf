// Stand-in for GetStringTypeW. Not yet generated from Windows' table: every
// character reports no type until the table lands.
#include "platform/platform.h"

namespace platform {

BOOL GetStringTypeW(DWORD infoType, const char16_t* source, int length, WORD* charTypes) {
  if (infoType != CT_CTYPE1 || source == nullptr || charTypes == nullptr || length < 0) return 0;
  for (int i = 0; i < length; ++i) charTypes[i] = 0;
  return 1;
}

}  // namespace platform
