// The stand-in host's own interface, for the demo program and the tests.
//
// The stand-in host library (TakeCmd.dll for Windows, TakeCmd.so natively)
// implements the seven host functions a plug-in calls (base/host_contract.h) and,
// around them, a small TCC-like shell: variables, a current drive and
// directories, batch files, plug-in loading and command execution. Everything
// here is plain C so that test programs and the library may each carry their
// own C++ runtime.
#pragma once

#include <cstddef>

#include "base/host_contract.h"

extern "C" {

// ---- Output ---------------------------------------------------------------

enum { HOST_STDOUT = 1, HOST_STDERR = 2 };

// Receives all output of the host functions and the shell. Without a sink,
// output goes to the process's standard output and error as UTF-8.
typedef void (*HostOutputSink)(int stream, const char16_t* text, size_t length, void* context);
void HostSetOutputSink(HostOutputSink sink, void* context);

// ---- Shell state ------------------------------------------------------------

// Back to a fresh shell: no variables, no batch file, not transient, not in a
// pipe, nested expansion on, version "33.00", current directory
// C:\Users\Marivex. The loaded plug-in, the output sink and the clear-line
// handler stay.
void HostReset(void);
// Sets a variable (names compare without regard to case); a null value removes it.
void HostSetVariable(const char16_t* name, const char16_t* value);
// What "%_4ver" expands to; a null version leaves "%_4ver" unknown (it expands to nothing).
void HostSetVersion(const char16_t* version);
void HostSetTransient(int transient);
void HostSetPipe(int pipe);
// Pretends a batch file is running, at the given line; a null name ends all batch files.
void HostSetBatch(const char16_t* name, int line);
// Changes the current drive and directory, as "cd /d" would; relative names
// are resolved first. Returns 0, or 1 for an unusable name.
int HostSetCurrentDirectory(const char16_t* directory);
// Expands text as the shell does before running a command line. Writes at most
// capacity characters, the terminator included; returns 1 on success, 0 when a
// variable function failed.
int HostExpand(const char16_t* text, char16_t* out, size_t capacity);

// ---- The plug-in -----------------------------------------------------------

// Loads a plug-in from its file as the real host does: GetPluginInfo, the
// names of its function list, then InitializePlugin. A relative path is taken
// from the directory of the running program. Returns 0, or 1 with a message
// on standard error. A plug-in loaded before is unloaded first.
int HostLoadPlugin(const char16_t* path);
// Calls ShutdownPlugin and unloads the library.
void HostUnloadPlugin(void);
// The loaded plug-in's descriptor, or null.
const PluginDescriptor* HostPluginDescriptor(void);
// The loaded plug-in's export of that name, or null.
void* HostPluginExport(const char* exportName);

// ---- Commands and keys -------------------------------------------------------

// Expands and runs one command line; returns its exit code, which "%?" shows
// afterwards.
int HostExecute(const char16_t* commandLine);
// True once "exit" has run; the code it gave.
int HostExitRequested(int* exitCode);
// Passes a key to the plug-in's keystroke hook, if it has one. Returns 1 when
// the hook was called.
int HostKeystroke(KeystrokeRecord* record);

// Supplies batch files in place of the file system, for tests and fuzzing:
// given the file's name as the command named it (without its quotes), the
// reader returns 1 with the file's bytes, which stay valid until the batch
// file has been read, or 0 when there is no such file. Without a reader
// (null), batch files are read from the file system.
typedef int (*HostBatchFileReader)(const char16_t* path, const char** bytes, size_t* size,
                                   void* context);
void HostSetBatchFileReader(HostBatchFileReader reader, void* context);

// Called by ClearEditLine with the line about to be replaced.
typedef void (*HostClearLineHandler)(const char16_t* line, void* context);
void HostSetClearLineHandler(HostClearLineHandler handler, void* context);

}  // extern "C"
