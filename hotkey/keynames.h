// Key codes and the names of key combinations, under the key scheme of the
// host that loaded the plug-in.
#pragma once

#include <cstdint>

#include "base/text.h"

// Ctrl-Alt-U, the same code under both key schemes.
inline constexpr int32_t DEFAULT_HOTKEY = 0x50016;

// What ParseKeyName gives besides a positive code.
inline constexpr int32_t kNotAKeyName = 0;             // no combination of the active scheme
inline constexpr int32_t kNoSuchCombination = -1;      // a combination without a code
inline constexpr int32_t kCombinationNotAllowed = -2;  // a combination that may not be the hotkey

// The host's major version (8 to 100), or 0 when none was read.
extern int32_t hostMajorVersion;
// 1 selects the extended key scheme (hosts of version 24 and later), 0 the
// classic one.
extern int32_t extendedKeys;

// Reads the host's version and chooses the key scheme; called once at start-up.
void ProbeHostVersion();

// The code of a combination name such as "Ctrl-Alt-U": positive, or one of
// the three results above.
int32_t ParseKeyName(const char16_t* text);

// Writes the name of currentHotkey ("None" for 0). Returns 0, or -1 after
// writing "(unknown)" when the active key table lacks the code.
int32_t FormatKeyName(char16_t (&name)[MAX_NAME_LEN]);

// Prints every combination that may serve as the hotkey, one key per line.
void ListKeyNames();

// True when code is a positive code of the active key table.
bool IsAcceptableHotkey(int32_t code);
