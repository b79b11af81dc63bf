#include "base/plugin_state.h"

int32_t currentHotkey = DEFAULT_HOTKEY;
int32_t hostMajorVersion = 0;
int32_t extendedKeys = 0;

char16_t argText[MAX_ARG_LEN];
char16_t* argPointers[MAX_ARGS];
int32_t argLengths[MAX_ARGS];
int32_t argCount;
