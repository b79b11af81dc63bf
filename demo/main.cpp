// marivex-host: an interactive TCC-like prompt on the stand-in host, with the
// plug-in loaded from its file.
//
//   marivex-host [--plugin FILE] [--no-plugin] [--host-version TEXT]
//                [--transient] [-c COMMAND | BATCHFILE [ARGS...]]
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

struct Options {
  std::string plugin = "Marivex" MARIVEX_MODULE_SUFFIX;
  bool loadPlugin = true;
  std::string hostVersion;
  bool transient = false;
  std::string command;
  bool hasCommand = false;
  std::string batch;  // with its arguments
};

void Usage() {
  std::fputs(
      "usage: marivex-host [--plugin FILE] [--no-plugin] [--host-version TEXT] [--transient]\n"
      "                    [-c COMMAND | BATCHFILE [ARGS...]]\n",
      stderr);
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--plugin" && i + 1 < argc) {
      options.plugin = argv[++i];
    } else if (argument == "--no-plugin") {
      options.loadPlugin = false;
    } else if (argument == "--host-version" && i + 1 < argc) {
      options.hostVersion = argv[++i];
    } else if (argument == "--transient") {
      options.transient = true;
    } else if (argument == "-c" && i + 1 < argc) {
      options.command = argv[++i];
      options.hasCommand = true;
    } else if (!argument.empty() && argument[0] != '-') {
      options.batch = "call";
      for (; i < argc; ++i) options.batch += std::string(" ") + argv[i];
    } else {
      return false;
    }
  }
  return true;
}

// The demo keeps the machine-wide setting beside the user's, in the user's
// state folder, rather than in a system folder; MARIVEX_REGISTRY_HKLM still
// chooses another file.
void ChooseMachineRegistry() {
  if (std::getenv("MARIVEX_REGISTRY_HKLM") != nullptr) return;
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  std::string folder;
  if (state != nullptr && state[0] == '/') {
    folder = state;
  } else if (home != nullptr && home[0] == '/') {
    folder = std::string(home) + "/.local/state";
  } else {
    return;
  }
  setenv("MARIVEX_REGISTRY_HKLM", (folder + "/marivex/HKLM.reg").c_str(), 0);
}

// The version the host reports in %_4ver, which decides how it reports keys.
std::u16string HostVersion() {
  char16_t version[64] = {};
  HostExpand(u"%_4ver", version, std::size(version));
  return version;
}

std::u16string Prompt() {
  char16_t directory[1024];
  HostExpand(u"%_cwd", directory, std::size(directory));
  return std::u16string(directory) + u">";
}

// Reads commands line by line, as from a script.
int ReadCommands() {
  std::string line;
  for (;;) {
    demo::WriteToConsole(HOST_STDOUT, Prompt());
    if (!std::getline(std::cin, line)) {
      std::fputs("\n", stdout);
      return 0;
    }
    HostExecute(support::ToUtf16(line).c_str());
    int exitCode = 0;
    if (HostExitRequested(&exitCode)) return exitCode;
  }
}

// The prompt on a terminal, with the line editor.
int Interactive(demo::KeyScheme scheme) {
  if (!demo::Terminal::IsInteractive()) return ReadCommands();
  demo::Terminal terminal;
  demo::LineEditor editor(terminal, scheme);
  for (;;) {
    const std::optional<std::u16string> line = editor.ReadLine(Prompt());
    if (!line) return 0;
    HostExecute(line->c_str());
    int exitCode = 0;
    if (HostExitRequested(&exitCode)) return exitCode;
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    Usage();
    return 2;
  }
  ChooseMachineRegistry();
  HostSetOutputSink(&demo::ConsoleSink, nullptr);
  if (!options.hostVersion.empty()) HostSetVersion(support::ToUtf16(options.hostVersion).c_str());
  const demo::KeyScheme scheme = demo::KeySchemeOfHostVersion(HostVersion());
  // The asterisk sound is the terminal's bell; a message box is a framed text.
  standin::SetSoundHandler([](const char16_t*, platform::DWORD) { demo::Terminal::Write("\a"); });
  standin::SetMessageBoxHandler(&demo::ShowMessageBox);
  // A command or a batch file runs in a transient shell, as "tcc /c" does.
  HostSetTransient(options.transient || options.hasCommand || !options.batch.empty());
  if (options.loadPlugin && HostLoadPlugin(support::ToUtf16(options.plugin).c_str()) != 0) return 2;
  int exitCode = 0;
  if (options.hasCommand) {
    exitCode = HostExecute(support::ToUtf16(options.command).c_str());
  } else if (!options.batch.empty()) {
    exitCode = HostExecute(support::ToUtf16(options.batch).c_str());
  } else {
    exitCode = Interactive(scheme);
  }
  int requested = 0;
  if (HostExitRequested(&requested)) exitCode = requested;
  HostUnloadPlugin();
  return exitCode;
}
