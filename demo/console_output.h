// The demo's standard output and error, for the host and the prompt.
#pragma once

#include <cstddef>
#include <string_view>

namespace demo {

// Writes text to HOST_STDOUT or HOST_STDERR as UTF-8. On a terminal its
// control characters are made visible first (TerminalSafeText): a name
// decoded from "%1B" must not clear the user's screen or set the window's
// title. To a pipe or a file the text goes byte for byte as it came.
void WriteToConsole(int stream, std::u16string_view text);

// WriteToConsole as the host's output sink.
void ConsoleSink(int stream, const char16_t* text, size_t length, void* context);

}  // namespace demo
