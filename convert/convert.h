// The conversion routines shared by the variable functions and the hotkey.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The safe percent sign (FULLWIDTH PERCENT SIGN), which stands in for "%" where
// a "%" would be expanded by the shell.
inline constexpr char16_t SAFE_PERCENT = 0xFF05;

// Removes leading and trailing white space in place; white space between other
// characters stays. Returns 0, or -1 for a null pointer.
int32_t TrimWhitespace(char16_t* text);

// The number of characters that make a file name need double quotes: white
// space, control characters and < > | , ; &. Each character counts once.
uint32_t CountQuoteTriggers(const char16_t* text);

// Turns the file name in buffer (MAX_ARG_LEN characters) into the file URI of
// its canonical full path, in place. With safePercent 0 each "%" of the URI is
// doubled; otherwise it becomes U+FF05. Returns 0, or -1 after writing an error.
int32_t FileToUri(char16_t* buffer, int32_t safePercent);

// The exported variable functions, as the host calls them: each takes the
// host's argument buffer of MAX_ARG_LEN characters and leaves its result there.
PLUGIN_EXPORT int f_file2uri(char16_t* buffer);
PLUGIN_EXPORT int f_file2uris(char16_t* buffer);
PLUGIN_EXPORT int f_uri2file(char16_t* buffer);
PLUGIN_EXPORT int f_isurl(char16_t* buffer);
