// Stand-in for GetStringTypeW, answering CT_CTYPE1 from Windows' own table
// (ctype1_table.cpp) for every UTF-16 code unit.
#include "platform/platform.h"
#include "platform/posix/ctype1_table.h"

namespace platform {

// Follows Windows' argument rules: a length of -1 means the text up to and
// including its terminator, which is typed too; a length of 0 succeeds and
// writes nothing; a null text fails even with length 0. Windows also knows
// CT_CTYPE2 and CT_CTYPE3; nothing here asks for them, so the stand-in carries
// no tables for them and fails like any type it does not know. Two cases
// crash under Wine instead of failing, a null output and a length below -1;
// here both fail.
BOOL GetStringTypeW(DWORD infoType, const char16_t* source, int length, WORD* charTypes) {
  if (infoType != CT_CTYPE1 || source == nullptr || charTypes == nullptr || length < -1) return 0;
  size_t count = static_cast<size_t>(length);
  if (length == -1) {
    count = 0;
    while (source[count] != u'\0') ++count;
    ++count;
  }
  for (size_t i = 0; i < count; ++i) charTypes[i] = standin::CharType1(source[i]);
  return 1;
}

}  // namespace platform
