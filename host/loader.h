// The plug-in the shell has loaded, and what its function list offers.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_contract.h"
#include "host/dynamic_library.h"

namespace host {

struct LoadedPlugin {
  std::unique_ptr<DynamicLibrary> library;
  PluginDescriptor* descriptor = nullptr;
  // Names from the function list, upper-cased, without "@", with the export found for each.
  std::vector<std::pair<std::u16string, VariableFunction>> variableFunctions;
  std::vector<std::pair<std::u16string, CommandFunction>> commands;
  KeystrokeFunction keystroke = nullptr;
  UsageFunction usage = nullptr;
  HelpFunction help = nullptr;
  ShutdownPluginFunction shutdown = nullptr;
};

// The loaded plug-in, or null.
const LoadedPlugin* Plugin();
// A variable function of the loaded plug-in by name, without "@", in any case.
VariableFunction FindVariableFunction(std::u16string_view name);
// A command of the loaded plug-in by name, in any case.
CommandFunction FindCommand(std::u16string_view name);

}  // namespace host
