// Message boxes on a terminal: the box drawn as a frame around its text.
#pragma once

#include <string>
#include <string_view>

namespace demo {

// The box as UTF-8 lines, each ending in "\n": the caption in the frame's top
// line, then each line of the text inside the frame, tabs expanded to stops
// of eight columns.
std::string FramedMessageBox(std::u16string_view text, std::u16string_view caption);

// MessageBoxW for the demo: writes the framed box to standard output and, on
// a terminal, waits for Enter. Returns IDOK.
int ShowMessageBox(const char16_t* text, const char16_t* caption, unsigned type);

}  // namespace demo
