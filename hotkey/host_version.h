// The version of the host that loaded the plug-in, and the key scheme it
// selects.
#pragma once

#include "base/plugin_state.h"

// Reads the host's version and chooses the key scheme; called once at start-up.
void ProbeHostVersion();
