// Where the stand-in host's output goes.
#pragma once

#include <string_view>

namespace host {

// Writes text to stream HOST_STDOUT or HOST_STDERR, through the sink if one is set.
void Write(int stream, std::u16string_view text);

}  // namespace host
