// Message boxes on a terminal: the box drawn as a frame around its text.
#pragma once

#include <string>
#include <string_view>

namespace demo {

// The box as UTF-8 lines, each ending in "\n".
std::string FramedMessageBox(std::u16string_view text, std::u16string_view caption);

// MessageBoxW for the demo. Returns IDOK.
int ShowMessageBox(const char16_t* text, const char16_t* caption, unsigned type);

}  // namespace demo
