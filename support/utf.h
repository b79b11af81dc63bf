// Conversions between UTF-16 text (the plug-in's and the host's) and UTF-8
// (the terminal's and the file system's on Linux).
#pragma once

#include <string>
#include <string_view>

namespace support {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string ToUtf16(std::string_view text);

}  // namespace support
