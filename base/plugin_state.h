// What the plug-in keeps between the host's calls: all of its state, in static
// storage. The host calls one entry point at a time, so nothing is locked.
#pragma once

#include <cstdint>

#include "base/text.h"

// Ctrl-Alt-U, the same code under both key schemes.
inline constexpr int32_t DEFAULT_HOTKEY = 0x50016;

// The hotkey in force: 0 for none, otherwise a positive code of the active key
// table. Written at start-up (default, then the saved setting) and by
// MARIVEXKEY; read by the keystroke hook and whatever names the hotkey.
extern int32_t currentHotkey;

// The host's major version (8 to 100), or 0 when none was read. Written once at
// start-up by the version probe; read by MARIVEXKEY's help.
extern int32_t hostMajorVersion;
// 1 selects the extended key scheme (hosts of version 24 and later), 0 the
// classic one. Written with hostMajorVersion; read by the key tables' users and
// the keystroke hook.
extern int32_t extendedKeys;

// The argument array: the last command's arguments, split, unquoted and
// upper-cased. Written by ArgumentSplitter; read by MARIVEXKEY until the next
// split.
// The text of all arguments one after another, each followed by a 0 character.
extern char16_t argText[MAX_ARG_LEN];
// Where argument j begins in argText; null for every j at or above argCount.
extern char16_t* argPointers[MAX_ARGS];
// The length of argument j without its terminator; 0 at or above argCount.
extern int32_t argLengths[MAX_ARGS];
// The number of arguments, 0 to MAX_ARGS.
extern int32_t argCount;
