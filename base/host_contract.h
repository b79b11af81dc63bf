// The contract with the host: the records it exchanges with the plug-in and
// the seven functions the plug-in calls in the host library (TakeCmd.dll on
// Windows, the stand-in host library natively).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// What the host passes to the keystroke hook for each key pressed at the
// command line, in the host's 64-bit layout.
struct KeystrokeRecord {
  int32_t keyCode;      // the host's code for the key; 0 when only a label is given
  int32_t hostData[5];  // the host's own; never read or written
  char16_t* line;       // the command line, 65,536 characters of room
  char16_t* cursor;     // the cursor's position within line
  int32_t redraw;       // set to 1 once line has been rewritten
  char16_t* keyLabel;   // the key's name from newer hosts; may be null
};

static_assert(offsetof(KeystrokeRecord, keyCode) == 0);
static_assert(offsetof(KeystrokeRecord, line) == 24);
static_assert(offsetof(KeystrokeRecord, cursor) == 32);
static_assert(offsetof(KeystrokeRecord, redraw) == 40);
static_assert(offsetof(KeystrokeRecord, keyLabel) == 48);
static_assert(sizeof(KeystrokeRecord) == 56);

// What the plug-in tells the host about itself when loaded.
struct PluginDescriptor {
  const char16_t* name;
  const char16_t* author;
  const char16_t* email;
  const char16_t* webPage;
  const char16_t* description;
  const char16_t* functions;  // comma-separated names the plug-in offers
  int32_t majorVersion;
  int32_t minorVersion;
  int32_t build;
};

static_assert(offsetof(PluginDescriptor, functions) == 40);
static_assert(offsetof(PluginDescriptor, majorVersion) == 48);
static_assert(sizeof(PluginDescriptor) == 64);

// The exports' types, as the host calls them.
using GetPluginInfoFunction = PluginDescriptor* (*)();
using InitializePluginFunction = int (*)();
using ShutdownPluginFunction = int (*)(int endProcess);
using VariableFunction = int (*)(char16_t* buffer);
using CommandFunction = int (*)(char16_t* arguments);
using KeystrokeFunction = int (*)(KeystrokeRecord* record);
using UsageFunction = int (*)(const char16_t* name, char16_t* syntax);
using HelpFunction = int (*)(const char16_t* name);

extern "C" {

// Formats like the C library's printf (%s takes wide text) to standard output.
int Printf(const char16_t* format, ...);
// Formats to the given handle; the plug-in passes the standard-error handle.
int Qprintf(platform::HANDLE handle, const char16_t* format, ...);
// Writes the text to standard output as it stands, with no line break added.
int QPuts(const char16_t* text);
// Expands the variable references in buffer, in place.
int ExpandVariables(char16_t* buffer, int flag);
// Writes the canonical full path of name into an 8,192-character buffer.
int QueryTrueName(const char16_t* name, char16_t* trueName);
// The URL kind of text: 0 none, 1 HTTP, 2 HTTPS, 3 FTP, 4 IFTP, 5 TFTP,
// 6 FTPS, 7 IFTPS, 8 any other internet URL.
int QueryIsURL(const char16_t* text);
// Erases the displayed command line before the plug-in replaces its text.
int ClearEditLine(char16_t* line);

}  // extern "C"
