// The plug-in's fixed character classes. Below U+0100 they are fixed tables
// that do not follow the user's locale; above it, Windows' CT_CTYPE1 types
// decide. U+FFFF belongs to no class.
#pragma once

bool IsWhiteSpace(char16_t c);
bool IsControl(char16_t c);
bool IsLetter(char16_t c);
