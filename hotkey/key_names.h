// Key codes and the names of key combinations, under the key scheme of the
// host that loaded the plug-in.
#pragma once

#include <cstdint>

#include "base/plugin_state.h"
#include "base/text.h"

// What ParseKeyName gives besides a positive code.
inline constexpr int32_t kNotAKeyName = 0;             // no combination of the active scheme
inline constexpr int32_t kNoSuchCombination = -1;      // a combination without a code
inline constexpr int32_t kCombinationNotAllowed = -2;  // a combination that may not be the hotkey

// The code of a combination name such as "Ctrl-Alt-U": positive, or one of
// the three results above.
int32_t ParseKeyName(const char16_t* text);

// Writes the name of currentHotkey ("None" for 0). Returns 0, or -1 after
// writing "(unknown)" when the active key table lacks the code.
int32_t FormatKeyName(char16_t (&name)[kMaxNameLen]);

// Prints every combination that may serve as the hotkey, one key per line.
void ListKeyNames();

// True when code is a positive code of the active key table.
bool IsAcceptableHotkey(int32_t code);
