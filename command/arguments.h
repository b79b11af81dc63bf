// Splits a command's argument text into the argument array (base/plugin_state.h).
#pragma once

#include <cstdint>

#include "base/plugin_state.h"

// What ArgumentSplitter returns for a null text or an overflow.
inline constexpr int32_t kSplitFailed = -1;

// Splits a command's argument text into the argument array. Returns the number
// of arguments (also left in argCount), or -1 for a null text (the array keeps
// what the previous split left) or for arguments that do not fit in argText
// (after a message on standard error; argCount is then 0).
int32_t ArgumentSplitter(const char16_t* text);
