// The plug-in's name and version as every message and the descriptor show them.
#pragma once

#include <cstdint>

#include "base/version.h"

inline constexpr const char16_t* PLUGIN_NAME = u"Marivex";
inline constexpr int32_t VERSION_MAJOR = MARIVEX_VERSION_MAJOR;
inline constexpr int32_t VERSION_MINOR = MARIVEX_VERSION_MINOR;
inline constexpr int32_t VERSION_BUILD = MARIVEX_VERSION_BUILD;
// The module's platform tag.
inline constexpr const char16_t* PLATFORM_TAG = u"x64";
