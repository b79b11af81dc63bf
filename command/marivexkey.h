// The MARIVEXKEY command.
#pragma once

#include <cstdint>

// Shows, sets, lists, restores and saves the hotkey, given the command's
// argument text. Returns the exit code: 0, 1 for a refused argument or a null
// text, 2 when the registry refused the save.
int32_t MarivexKeyCommand(const char16_t* text);
