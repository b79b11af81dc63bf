// The argument array: the last command's arguments, split, unquoted and
// upper-cased, in static storage until the next split.
#pragma once

#include <cstdint>

#include "base/text.h"

// The text of all arguments one after another, each followed by a 0 character.
extern char16_t argText[MAX_ARG_LEN];
// Where argument j begins in argText; null for every j at or above argCount.
extern char16_t* argPointers[MAX_ARGS];
// The length of argument j without its terminator; 0 at or above argCount.
extern int32_t argLengths[MAX_ARGS];
// The number of arguments, 0 to MAX_ARGS.
extern int32_t argCount;

// What ArgumentSplitter returns for a null text or an overflow.
inline constexpr int32_t kSplitFailed = -1;

// Splits a command's argument text into the argument array. Returns the number
// of arguments (also left in argCount), or -1 for a null text (the array keeps
// what the previous split left) or for arguments that do not fit in argText
// (after a message on standard error; argCount is then 0).
int32_t ArgumentSplitter(const char16_t* text);
