#include "convert/charclass.h"

#include "platform/platform.h"

namespace {

constexpr char16_t kFirstWindowsClassified = 0x0100;
constexpr char16_t kNoClass = 0xFFFF;

// Windows' CT_CTYPE1 type of a character above U+00FF.
platform::WORD WindowsType(char16_t c) {
  if (c == kNoClass) return 0;
  platform::WORD type = 0;
  if (!platform::GetStringTypeW(platform::CT_CTYPE1, &c, 1, &type)) return 0;
  return type;
}

}  // namespace

bool IsWhiteSpace(char16_t c) {
  if (c < kFirstWindowsClassified) return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0;
  return (WindowsType(c) & platform::C1_SPACE) != 0;
}

bool IsControl(char16_t c) {
  if (c < kFirstWindowsClassified) return c <= 0x1F || (c >= 0x7F && c <= 0x9F);
  return (WindowsType(c) & platform::C1_CNTRL) != 0;
}

bool IsLetter(char16_t c) {
  if (c < kFirstWindowsClassified) {
    return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || c >= 0xF8;
  }
  return (WindowsType(c) & platform::C1_ALPHA) != 0;
}
