// The hotkey setting, in memory and in the registry.
#pragma once

#include <cstdint>

#include "base/plugin_state.h"
#include "platform/platform.h"

// Where the setting is kept under HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE.
inline constexpr const char16_t* kRegistrySubkey = u"Software\\RUDadurad\\Marivex";
inline constexpr const char16_t* kRegistryValue = u"Hotkey";

// Puts the setting saved under root in force. Returns 0 when one was found and
// accepted, 1 otherwise (currentHotkey unchanged). Writes no message.
int32_t LoadSettings(platform::HKEY root);

// Saves currentHotkey under root as a REG_DWORD, creating the key as needed.
// Returns 0, or the Windows error code of the registry call that failed.
int32_t SaveSettings(platform::HKEY root);
