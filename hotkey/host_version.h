// The version of the host that loaded the plug-in, and the key scheme it
// selects.
#pragma once

#include <cstdint>

// The host's major version (8 to 100), or 0 when none was read.
extern int32_t hostMajorVersion;
// 1 selects the extended key scheme (hosts of version 24 and later), 0 the
// classic one.
extern int32_t extendedKeys;

// Reads the host's version and chooses the key scheme; called once at start-up.
void ProbeHostVersion();
