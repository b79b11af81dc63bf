// Every entry point the host calls, each checked against the host's own
// function type, so that a signature that drifts from the host contract does
// not compile.
#pragma once

#include <type_traits>

#include "base/host_contract.h"
#include "platform/platform.h"

// The descriptor, start-up and shut-down.
PLUGIN_EXPORT PluginDescriptor* GetPluginInfo();
PLUGIN_EXPORT int InitializePlugin();
PLUGIN_EXPORT int ShutdownPlugin(int endProcess);

// The variable functions @FILE2URI, @FILE2URIS, @URI2FILE and @ISURL: the
// host's argument buffer of MAX_ARG_LEN characters in, the result out.
PLUGIN_EXPORT int f_file2uri(char16_t* buffer);
PLUGIN_EXPORT int f_file2uris(char16_t* buffer);
PLUGIN_EXPORT int f_uri2file(char16_t* buffer);
PLUGIN_EXPORT int f_isurl(char16_t* buffer);

// The MARIVEXKEY command, with its argument text.
PLUGIN_EXPORT int marivexkey(char16_t* arguments);

// The keystroke hook, called for every key at the command line.
PLUGIN_EXPORT int key(KeystrokeRecord* record);

// The syntax of a name (into a buffer of 1,024 characters) and its help.
PLUGIN_EXPORT int Usage(const char16_t* name, char16_t* syntax);
PLUGIN_EXPORT int Help(const char16_t* name);

static_assert(std::is_same_v<decltype(&GetPluginInfo), GetPluginInfoFunction>);
static_assert(std::is_same_v<decltype(&InitializePlugin), InitializePluginFunction>);
static_assert(std::is_same_v<decltype(&ShutdownPlugin), ShutdownPluginFunction>);
static_assert(std::is_same_v<decltype(&f_file2uri), VariableFunction>);
static_assert(std::is_same_v<decltype(&f_file2uris), VariableFunction>);
static_assert(std::is_same_v<decltype(&f_uri2file), VariableFunction>);
static_assert(std::is_same_v<decltype(&f_isurl), VariableFunction>);
static_assert(std::is_same_v<decltype(&marivexkey), CommandFunction>);
static_assert(std::is_same_v<decltype(&key), KeystrokeFunction>);
static_assert(std::is_same_v<decltype(&Usage), UsageFunction>);
static_assert(std::is_same_v<decltype(&Help), HelpFunction>);
