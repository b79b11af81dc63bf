// The plug-in's name and version as every message and the descriptor show them.
#pragma once

#include <cstdint>

inline constexpr const char16_t* kPluginName = u"Marivex";
inline constexpr int32_t kVersionMajor = 1;
inline constexpr int32_t kVersionMinor = 1;
inline constexpr int32_t kVersionBuild = 1;
// The module's platform tag.
inline constexpr const char16_t* kPlatformTag = u"x64";
