#include "base/char_class.h"

#include "platform/platform.h"

namespace {

constexpr char16_t kNoClass = 0xFFFF;

// Windows' CT_CTYPE1 type of a character above U+00FF.
platform::WORD WindowsType(char16_t c) {
  if (c == kNoClass) return 0;
  platform::WORD type = 0;
  if (!platform::GetStringTypeW(platform::CT_CTYPE1, &c, 1, &type)) return 0;
  return type;
}

}  // namespace

bool IsWindowsWhiteSpace(char16_t c) {
  return (WindowsType(c) & platform::C1_SPACE) != 0;
}

bool IsWindowsControl(char16_t c) {
  return (WindowsType(c) & platform::C1_CNTRL) != 0;
}

bool IsWindowsLetter(char16_t c) {
  return (WindowsType(c) & platform::C1_ALPHA) != 0;
}
