// Loads a plug-in the way the real host does: by file, through its exported
// names, starting from GetPluginInfo and the descriptor's function list.
#include "host/loader.h"

#include "host/output.h"
#include "host/state.h"
#include "host/takecmd.h"
#include "support/utf.h"

namespace host {

namespace {

std::unique_ptr<LoadedPlugin> loaded;

template <typename Function>
Function Find(const DynamicLibrary& library, const std::string& name) {
  return reinterpret_cast<Function>(library.Symbol(name.c_str()));
}

std::string LowerAscii(std::u16string_view text) {
  std::string lower;
  for (char16_t c : text) {
    lower += (c >= u'A' && c <= u'Z') ? static_cast<char>(c + 32) : static_cast<char>(c);
  }
  return lower;
}

// Ties each name of the comma-separated function list to its export: "@name"
// to f_name, "*key" to key, any other name to itself.
void ResolveFunctionList(LoadedPlugin& plugin, std::u16string_view list) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(u',', start);
    if (comma == std::u16string_view::npos) comma = list.size();
    const std::u16string_view name = list.substr(start, comma - start);
    start = comma + 1;
    if (name.empty()) continue;
    if (name[0] == u'@') {
      const auto function =
          Find<VariableFunction>(*plugin.library, "f_" + LowerAscii(name.substr(1)));
      if (function != nullptr)
        plugin.variableFunctions.emplace_back(UpperAscii(name.substr(1)), function);
    } else if (name[0] == u'*') {
      plugin.keystroke = Find<KeystrokeFunction>(*plugin.library, LowerAscii(name.substr(1)));
    } else if (name[0] != u'_') {
      const auto command = Find<CommandFunction>(*plugin.library, LowerAscii(name));
      if (command != nullptr) plugin.commands.emplace_back(UpperAscii(name), command);
    }
  }
}

}  // namespace

const LoadedPlugin* Plugin() {
  return loaded.get();
}

VariableFunction FindVariableFunction(std::u16string_view name) {
  if (!loaded) return nullptr;
  const std::u16string upper = UpperAscii(name);
  for (const auto& [listed, function] : loaded->variableFunctions) {
    if (listed == upper) return function;
  }
  return nullptr;
}

CommandFunction FindCommand(std::u16string_view name) {
  if (!loaded) return nullptr;
  const std::u16string upper = UpperAscii(name);
  for (const auto& [listed, command] : loaded->commands) {
    if (listed == upper) return command;
  }
  return nullptr;
}

}  // namespace host

extern "C" {

int HostLoadPlugin(const char16_t* path) {
  HostUnloadPlugin();
  if (path == nullptr) return 1;
  std::u16string error;
  auto plugin = std::make_unique<host::LoadedPlugin>();
  plugin->library = host::DynamicLibrary::Open(path, error);
  if (!plugin->library) {
    host::Write(HOST_STDERR,
                u"Cannot load plugin \"" + std::u16string(path) + u"\": " + error + u"\r\n");
    return 1;
  }
  const auto getPluginInfo = host::Find<GetPluginInfoFunction>(*plugin->library, "GetPluginInfo");
  if (getPluginInfo == nullptr || (plugin->descriptor = getPluginInfo()) == nullptr) {
    host::Write(HOST_STDERR, u"Not a plugin: \"" + std::u16string(path) + u"\"\r\n");
    return 1;
  }
  if (plugin->descriptor->functions != nullptr) {
    host::ResolveFunctionList(*plugin, plugin->descriptor->functions);
  }
  plugin->usage = host::Find<UsageFunction>(*plugin->library, "Usage");
  plugin->help = host::Find<HelpFunction>(*plugin->library, "Help");
  plugin->shutdown = host::Find<ShutdownPluginFunction>(*plugin->library, "ShutdownPlugin");
  const auto initialize =
      host::Find<InitializePluginFunction>(*plugin->library, "InitializePlugin");
  host::loaded = std::move(plugin);
  if (initialize != nullptr) initialize();
  return 0;
}

void HostUnloadPlugin(void) {
  if (!host::loaded) return;
  if (host::loaded->shutdown != nullptr) host::loaded->shutdown(0);
  host::loaded.reset();
}

const PluginDescriptor* HostPluginDescriptor(void) {
  return host::loaded ? host::loaded->descriptor : nullptr;
}

void* HostPluginExport(const char* exportName) {
  return host::loaded && exportName != nullptr ? host::loaded->library->Symbol(exportName)
                                               : nullptr;
}

int HostKeystroke(KeystrokeRecord* record) {
  if (!host::loaded || host::loaded->keystroke == nullptr || record == nullptr) return 0;
  host::loaded->keystroke(record);
  return 1;
}

}  // extern "C"
