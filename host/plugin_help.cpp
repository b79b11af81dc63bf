// HELP and USAGE: the host asks the plug-in's Help and Usage exports about
// the names of its function list.
#include "host/plugin_help.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "host/loader.h"
#include "host/output.h"
#include "host/state.h"
#include "host/takecmd.h"

namespace host {

namespace {

// The host's buffer for a syntax text.
constexpr size_t kSyntaxCapacity = 1024;

std::u16string FirstWord(std::u16string_view text) {
  text = SkipBlanks(text);
  size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return std::u16string(text.substr(0, end));
}

// The names a user may ask about: those of the plug-in's function list but
// the keystroke hook ("*key").
std::vector<std::u16string> OfferedNames() {
  const PluginDescriptor* descriptor = HostPluginDescriptor();
  if (descriptor == nullptr || descriptor->functions == nullptr) return {};
  std::vector<std::u16string> names;
  const std::u16string_view list = descriptor->functions;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(u',', start);
    if (comma == std::u16string_view::npos) comma = list.size();
    const std::u16string_view name = list.substr(start, comma - start);
    if (!name.empty() && name[0] != u'*') names.emplace_back(name);
    start = comma + 1;
  }
  return names;
}

std::u16string Joined(const std::vector<std::u16string>& names) {
  std::u16string text;
  for (const auto& name : names) text += (text.empty() ? u"" : u", ") + name;
  return text;
}

void ListHelp() {
  const LoadedPlugin* plugin = Plugin();
  const std::vector<std::u16string> names =
      plugin != nullptr && plugin->help != nullptr ? OfferedNames() : std::vector<std::u16string>{};
  Write(HOST_STDOUT, names.empty() ? u"No help is available\r\n"
                                   : u"Help is available for: " + Joined(names) + u"\r\n");
}

// The syntax the plug-in gives for name, or nothing.
std::optional<std::u16string> SyntaxOf(const std::u16string& name) {
  const LoadedPlugin* plugin = Plugin();
  if (plugin == nullptr || plugin->usage == nullptr) return std::nullopt;
  std::array<char16_t, kSyntaxCapacity> syntax{};
  if (plugin->usage(name.c_str(), syntax.data()) == 0) return std::nullopt;
  syntax.back() = u'\0';
  return std::u16string(syntax.data());
}

}  // namespace

int ShowHelp(std::u16string_view arguments) {
  const std::u16string name = FirstWord(arguments);
  if (name.empty()) {
    ListHelp();
    return 0;
  }
  const LoadedPlugin* plugin = Plugin();
  if (plugin != nullptr && plugin->help != nullptr && plugin->help(name.c_str()) != 0) return 0;
  Write(HOST_STDERR, u"No help for \"" + name + u"\"\r\n");
  ListHelp();
  return 1;
}

int ShowUsage(std::u16string_view arguments) {
  const std::u16string name = FirstWord(arguments);
  if (name.empty()) {
    std::vector<std::u16string> names;
    for (auto& offered : OfferedNames()) {
      if (SyntaxOf(offered)) names.push_back(std::move(offered));
    }
    Write(HOST_STDOUT, names.empty() ? u"No syntax is available\r\n"
                                     : u"Syntax is available for: " + Joined(names) + u"\r\n");
    return 0;
  }
  const std::optional<std::u16string> syntax = SyntaxOf(name);
  if (!syntax) {
    Write(HOST_STDERR, u"No syntax for \"" + name + u"\"\r\n");
    return 1;
  }
  const bool endsLine = !syntax->empty() && syntax->back() == u'\n';
  Write(HOST_STDOUT, *syntax + (endsLine ? u"" : u"\r\n"));
  return 0;
}

}  // namespace host
