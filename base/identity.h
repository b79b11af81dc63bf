// The plug-in's name and version as every message and the descriptor show them.
#pragma once

#include <cstdint>

inline constexpr const char16_t* PLUGIN_NAME = u"Marivex";
inline constexpr int32_t VERSION_MAJOR = 1;
inline constexpr int32_t VERSION_MINOR = 1;
inline constexpr int32_t VERSION_BUILD = 1;
// The module's platform tag.
inline constexpr const char16_t* PLATFORM_TAG = u"x64";
