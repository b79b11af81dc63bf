// Uniform error reporting: every error message goes to standard error after
// the plug-in's prefix.
#pragma once

#include <cstdint>

#include "base/host_contract.h"
#include "platform/platform.h"

// Writes "Marivex plugin: " and, inside a running batch file, its name and
// line, to standard error. The caller's message follows on the same line.
void ErrorPrefix();

// The standard-error handle, fetched anew for each write.
platform::HANDLE StandardError();

// ErrorPrefix followed by one message, formatted by the host from format and
// arguments and ending in CR LF. Every error the plug-in reports goes out here.
template <typename... Arguments>
void ReportError(const char16_t* format, Arguments... arguments) {
  ErrorPrefix();
  Qprintf(StandardError(), format, arguments...);
}

// Fills text (kMaxNameLen characters) with a one-line description of a
// Windows status code, without trailing white space; -1 means no code is known.
void FormatSystemError(int32_t code, char16_t* text);
