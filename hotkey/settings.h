// The hotkey setting.
#pragma once

#include <cstdint>

// The hotkey in force: 0 for none, otherwise a positive code of the active
// key table.
extern int32_t currentHotkey;
