// printf-style formatting of UTF-16 text for the stand-in host's output
// functions and the native wsprintfW.
#pragma once

#include <cstdarg>
#include <string>

namespace support {

// Formats what the plug-in's messages use of Windows' wide printf family:
// "%s" with UTF-16 text, "%d", "%u" and "%x" with a 32-bit number, each with a
// width and the flag "0", and "%%". A null text prints as "(null)"; any other
// conversion is written out as it stands.
std::u16string FormatWide(const char16_t* format, va_list arguments);

}  // namespace support
