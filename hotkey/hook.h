// Converting the word at the cursor of a command line.
#pragma once

#include <cstdint>

#include "base/host.h"

// Converts the word at the record's cursor between a file name and a file://
// URI, in the record's line; always swallows the key. Returns 0.
int32_t ConvertWordAtCursor(KeystrokeRecord* record);

// The host's keystroke hook, called for every key at the command line.
PLUGIN_EXPORT int key(KeystrokeRecord* record);
