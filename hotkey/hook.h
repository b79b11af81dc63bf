// The keystroke hook and the conversion of the word at the cursor.
#pragma once

#include <cstdint>

#include "base/host_contract.h"

// Converts the word at the record's cursor between a file name and a file://
// URI, in the record's line; always swallows the key. Returns 0.
int32_t ConvertWordAtCursor(KeystrokeRecord* record);

// Called for every key at the command line: completes the key's code with the
// live modifier state and, on the hotkey, converts the word at the cursor.
// Returns 0.
int32_t HandleKeystroke(KeystrokeRecord* record);
