// marivex-host: an interactive TCC-like prompt on the stand-in host, with the
// plug-in loaded from its file.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "demo/host_keys.h"
#include "demo/line_editor.h"
#include "demo/message_box.h"
#include "demo/terminal.h"
#include "host/takecmd.h"
#include "platform/posix/standin.h"
#include "support/utf.h"

namespace {

constexpr const char* kUsage =
    "usage: marivex-host [--plugin FILE] [--no-plugin] [--host-version TEXT] [--transient]\n"
    "                    [-c COMMAND | BATCHFILE [ARGS...]]\n";

// The machine-wide setting beside the user's, in the user's state folder rather
// than a system folder, unless MARIVEX_REGISTRY_HKLM chooses another file.
void ChooseMachineRegistry() {
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  std::string folder = home != nullptr && home[0] == '/' ? std::string(home) + "/.local/state" : "";
  if (state != nullptr && state[0] == '/') folder = state;
  if (!folder.empty()) setenv("MARIVEX_REGISTRY_HKLM", (folder + "/marivex/HKLM.reg").c_str(), 0);
}

std::u16string Expanded(const char16_t* text, size_t capacity) {
  std::u16string expanded(capacity, u'\0');
  HostExpand(text, expanded.data(), capacity);
  return expanded.c_str();
}

// A line from standard input, as from a script.
std::optional<std::u16string> ReadPlainLine(const std::u16string& prompt) {
  demo::WriteToConsole(HOST_STDOUT, prompt);
  std::string line;
  if (std::getline(std::cin, line)) return support::ToUtf16(line);
  std::fputs("\n", stdout);
  return std::nullopt;
}

// Runs the lines typed until input ends or "exit" runs. On a terminal they
// come from the line editor, whose key scheme follows the host's version.
int RunPrompt() {
  std::optional<demo::Terminal> terminal;
  std::optional<demo::LineEditor> editor;
  if (demo::Terminal::IsInteractive()) {
    editor.emplace(terminal.emplace(), demo::KeySchemeOfHostVersion(Expanded(u"%_4ver", 64)));
  }
  int exitCode = 0;
  while (HostExitRequested(&exitCode) == 0) {
    const std::u16string prompt = Expanded(u"%_cwd", 1024) + u">";
    const auto line = editor ? editor->ReadLine(prompt) : ReadPlainLine(prompt);
    if (!line) return 0;
    HostExecute(line->c_str());
  }
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  std::string plugin = "Marivex" MARIVEX_MODULE_SUFFIX;
  bool loadPlugin = true;
  bool transient = false;
  std::string hostVersion;
  std::optional<std::string> command;  // -c COMMAND, or else a call of BATCHFILE
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool valueFollows = i + 1 < argc;
    if (argument == "--plugin" && valueFollows) {
      plugin = argv[++i];
    } else if (argument == "--no-plugin") {
      loadPlugin = false;
    } else if (argument == "--host-version" && valueFollows) {
      hostVersion = argv[++i];
    } else if (argument == "--transient") {
      transient = true;
    } else if (argument == "-c" && valueFollows) {
      command = argv[++i];
    } else if (!argument.empty() && argument[0] != '-') {
      std::string call = "call";
      for (; i < argc; ++i) call += std::string(" ") + argv[i];
      if (!command) command = call;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  ChooseMachineRegistry();
  HostSetOutputSink(&demo::ConsoleSink, nullptr);
  if (!hostVersion.empty()) HostSetVersion(support::ToUtf16(hostVersion).c_str());
  // The asterisk sound is the terminal's bell; a message box is a framed text.
  standin::SetSoundHandler([](const char16_t*, platform::DWORD) { demo::Terminal::Write("\a"); });
  standin::SetMessageBoxHandler(&demo::ShowMessageBox);
  // A command or a batch file runs in a transient shell, as "tcc /c" does.
  HostSetTransient(transient || command);
  if (loadPlugin && HostLoadPlugin(support::ToUtf16(plugin).c_str()) != 0) return 2;
  int exitCode = command ? HostExecute(support::ToUtf16(*command).c_str()) : RunPrompt();
  int requested = 0;
  if (HostExitRequested(&requested)) exitCode = requested;
  HostUnloadPlugin();
  return exitCode;
}
