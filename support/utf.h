// Conversions between UTF-16 text (the plug-in's and the host's) and UTF-8
// (the terminal's and the file system's on Linux).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace support {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Each byte of an invalid sequence becomes a U+FFFD of its own.
std::u16string ToUtf16(std::string_view text);

inline bool IsSurrogatePair(char16_t high, char16_t low) {
  return high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF;
}
// Appends a character below U+110000 as one code unit or a surrogate pair.
void AppendUtf16(std::u16string& out, char32_t character);

// The character at the start of UTF-8 bytes (at least one).
struct Utf8Character {
  char32_t value = 0;  // U+FFFD when the bytes are malformed
  size_t length = 0;
  bool wellFormed = false;
  bool cutShort = false;  // the bytes end inside a sequence that more bytes could complete
};
Utf8Character DecodeUtf8(std::string_view bytes);

}  // namespace support
