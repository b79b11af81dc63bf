// printf-style formatting of UTF-16 text for the stand-in host's output
// functions and the native wsprintfW.
#pragma once

#include <cstdarg>
#include <string>

namespace support {

// Formats like Windows' wide printf family: flags "-", "0", "+", " " and "#";
// a width and a precision given as digits or "*"; the size prefixes "h", "l",
// "ll", "I32", "I64" and "I"; the types d, i, u, x, X, o, c, s, S and "%".
// In this family "%s" and "%c" take UTF-16 text; "%hs", "%S" and "%hc" take
// narrow text. A null string prints as "(null)". An unknown type is written
// out as it stands.
std::u16string FormatWide(const char16_t* format, va_list arguments);

}  // namespace support
