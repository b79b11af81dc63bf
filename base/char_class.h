// The plug-in's fixed character classes. Below U+0100 they are fixed tables
// that do not follow the user's locale; above it, Windows' CT_CTYPE1 types
// decide. U+FFFF belongs to no class.
//
// The tests below U+0100 are inline, and constant so that tables can be built
// from them: every scan of a line or an argument asks them once per character,
// and nearly every character is below U+0100. Only the rest goes out of line
// to Windows.
#pragma once

inline constexpr char16_t kFirstWindowsClassified = 0x0100;

// Windows' verdict for a character from U+0100 up.
bool IsWindowsWhiteSpace(char16_t c);
bool IsWindowsControl(char16_t c);
bool IsWindowsLetter(char16_t c);

constexpr bool IsWhiteSpace(char16_t c) {
  if (c < kFirstWindowsClassified) return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0;
  return IsWindowsWhiteSpace(c);
}

constexpr bool IsControl(char16_t c) {
  if (c < kFirstWindowsClassified) return c <= 0x1F || (c >= 0x7F && c <= 0x9F);
  return IsWindowsControl(c);
}

constexpr bool IsLetter(char16_t c) {
  if (c < kFirstWindowsClassified) {
    return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || c >= 0xF8;
  }
  return IsWindowsLetter(c);
}
