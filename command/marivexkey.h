// The MARIVEXKEY command.
#pragma once

#include "platform/platform.h"

// Shows, sets, lists, restores and saves the hotkey, as the host calls the
// command with its argument text. Returns the exit code: 0, 1 for a refused
// argument or a null text, 2 when the registry refused the save.
PLUGIN_EXPORT int marivexkey(char16_t* text);
