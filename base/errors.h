// Uniform error reporting: every error message goes to standard error after
// the plug-in's prefix.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Writes "Marivex plugin: " and, inside a running batch file, its name and
// line, to standard error. The caller's message follows on the same line.
void ErrorPrefix();

// ErrorPrefix followed by one message: a format that takes at most one text
// argument, ending in CR LF.
void ReportError(const char16_t* format, const char16_t* argument = nullptr);

// Fills text (kMaxNameLen characters) with a one-line description of a
// Windows status code, without trailing white space; -1 means no code is known.
void FormatSystemError(int32_t code, char16_t* text);

// The standard-error handle, fetched anew for each write.
platform::HANDLE StandardError();
