// The plug-in's name and version as every message and the descriptor show them.
#pragma once

#include <cstdint>

#include "base/version.h"

inline constexpr const char16_t* kPluginName = u"Marivex";
inline constexpr int32_t kVersionMajor = MARIVEX_VERSION_MAJOR;
inline constexpr int32_t kVersionMinor = MARIVEX_VERSION_MINOR;
inline constexpr int32_t kVersionBuild = MARIVEX_VERSION_BUILD;
// The module's platform tag.
inline constexpr const char16_t* kPlatformTag = u"x64";
