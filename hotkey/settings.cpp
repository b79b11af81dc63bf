#include "hotkey/settings.h"

#include "hotkey/keynames.h"

// Ctrl-Alt-U until start-up or the user says otherwise.
int32_t currentHotkey = DEFAULT_HOTKEY;
