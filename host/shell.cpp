// The stand-in shell: runs command lines and batch files with a small set of
// TCC's internal commands and the loaded plug-in's commands.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "host/expand.h"
#include "host/loader.h"
#include "host/output.h"
#include "host/plugin_help.h"
#include "host/state.h"
#include "host/takecmd.h"
#include "host/true_name.h"
#include "support/utf.h"

namespace host {

namespace {

constexpr size_t kMaxBatchNesting = 32;

void Error(const std::u16string& message) {
  Write(HOST_STDERR, message + u"\r\n");
}

bool EndsWithIgnoreCase(std::u16string_view text, std::u16string_view suffix) {
  return text.size() >= suffix.size() &&
         UpperAscii(text.substr(text.size() - suffix.size())) == UpperAscii(suffix);
}

int RunLine(std::u16string_view line);

int Echo(std::u16string_view arguments) {
  const std::u16string word = UpperAscii(TrimEnd(SkipBlanks(arguments)));
  if (word == u"ON" || word == u"OFF") return 0;  // commands are never echoed here
  if (TrimEnd(arguments).empty()) {
    Write(HOST_STDOUT, u"ECHO is ON\r\n");
  } else {
    Write(HOST_STDOUT, std::u16string(arguments) + u"\r\n");
  }
  return 0;
}

int Set(std::u16string_view arguments) {
  arguments = TrimEnd(arguments);
  if (arguments.empty()) {
    for (const auto& [key, entry] : State().variables) {
      Write(HOST_STDOUT, entry.first + u"=" + entry.second + u"\r\n");
    }
    return 0;
  }
  const size_t equals = arguments.find(u'=');
  if (equals == std::u16string_view::npos) {
    const auto value = LookupVariable(arguments);
    if (!value) {
      Error(u"Not in environment \"" + std::u16string(arguments) + u"\"");
      return 2;
    }
    Write(HOST_STDOUT, *value + u"\r\n");
    return 0;
  }
  const std::u16string name(TrimEnd(arguments.substr(0, equals)));
  const std::u16string value(arguments.substr(equals + 1));
  HostSetVariable(name.c_str(), value.empty() ? nullptr : value.c_str());
  return 0;
}

int ChangeDirectory(std::u16string_view arguments) {
  arguments = TrimEnd(arguments);
  if (arguments.size() >= 2 && arguments[0] == u'/' && (arguments[1] | 0x20) == u'd') {
    arguments = SkipBlanks(arguments.substr(2));
  }
  if (arguments.empty()) {
    Write(HOST_STDOUT, LookupVariable(u"_cwd").value_or(u"") + u"\r\n");
    return 0;
  }
  const std::u16string directory(arguments);
  if (HostSetCurrentDirectory(directory.c_str()) != 0) {
    Error(u"Invalid directory \"" + directory + u"\"");
    return 1;
  }
  return 0;
}

int Exit(std::u16string_view arguments) {
  ShellState& state = State();
  const std::string digits = support::ToUtf8(TrimEnd(arguments));
  state.exitCode = digits.empty() ? state.lastExitCode : std::atoi(digits.c_str());
  state.exitRequested = true;
  return state.exitCode;
}

std::vector<std::u16string> SplitWords(std::u16string_view text) {
  std::vector<std::u16string> words;
  std::u16string word;
  bool quoted = false;
  for (char16_t c : text) {
    if (c == u'"') quoted = !quoted;
    if (IsBlank(c) && !quoted) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// SETDOS with the options of TCC's that the shell models: /X-4 turns nested
// expansion off, /X+4 turns it on, /X0 turns every expansion feature on.
// Any other option is refused, and then none takes effect. Without options
// it shows whether nested expansion is on.
int SetDos(std::u16string_view arguments) {
  const std::vector<std::u16string> options = SplitWords(arguments);
  if (options.empty()) {
    Write(HOST_STDOUT, State().nestedExpansion ? u"Nested variable expansion is on\r\n"
                                               : u"Nested variable expansion is off\r\n");
    return 0;
  }
  bool nested = State().nestedExpansion;
  for (const std::u16string& option : options) {
    const std::u16string upper = UpperAscii(option);
    if (upper == u"/X-4") {
      nested = false;
    } else if (upper == u"/X+4" || upper == u"/X0") {
      nested = true;
    } else {
      Error(u"The demo does not have SETDOS \"" + option + u"\"; it has /X-4, /X+4 and /X0");
      return 1;
    }
  }
  State().nestedExpansion = nested;
  return 0;
}

HostBatchFileReader batchFileReader = nullptr;
void* batchFileContext = nullptr;

// The whole batch file, from the reader when one is set, otherwise from the
// real file system. False when there is no such file.
bool ReadBatchFile(const std::u16string& path, std::string& contents) {
  if (batchFileReader != nullptr) {
    const char* bytes = nullptr;
    size_t size = 0;
    if (batchFileReader(path.c_str(), &bytes, &size, batchFileContext) == 0) return false;
    contents.assign(bytes != nullptr ? bytes : "", bytes != nullptr ? size : 0);
    return true;
  }
  std::ifstream input(std::filesystem::path(path), std::ios::binary);
  if (!input) return false;
  contents.assign(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
  return true;
}

// Runs a batch file line by line; %_batchname shows its canonical name in the
// shell's own terms.
int RunBatch(const std::u16string& file, std::u16string_view arguments) {
  ShellState& state = State();
  if (state.batches.size() >= kMaxBatchNesting) {
    Error(u"Batch files nested too deeply");
    return 1;
  }
  std::u16string path = file;
  if (!path.empty() && path.front() == u'"' && path.back() == u'"' && path.size() >= 2) {
    path = path.substr(1, path.size() - 2);
  }
  std::string contents;
  if (!ReadBatchFile(path, contents)) {
    Error(u"Cannot open batch file \"" + path + u"\"");
    return 1;
  }
  BatchFrame frame;
  frame.name = CanonicalName(path);
  frame.arguments.push_back(path);
  for (auto& word : SplitWords(arguments)) frame.arguments.push_back(std::move(word));
  state.batches.push_back(std::move(frame));
  std::istringstream input(contents);
  int code = 0;
  std::string raw;
  int lineNumber = 0;
  while (std::getline(input, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    State().batches.back().line = ++lineNumber;
    const std::u16string line = support::ToUtf16(raw);
    const std::u16string_view command = SkipBlanks(line);
    if (command.empty() || command.front() == u':') continue;
    if (UpperAscii(TrimEnd(command)) == u"QUIT") break;
    code = RunLine(command);
    State().lastExitCode = code;
    if (State().exitRequested) break;
  }
  State().batches.pop_back();
  return code;
}

int RunCommand(std::u16string_view line) {
  line = SkipBlanks(line);
  if (!line.empty() && line.front() == u'@') line = SkipBlanks(line.substr(1));
  if (line.empty()) return 0;
  size_t nameEnd = 0;
  while (nameEnd < line.size() && !IsBlank(line[nameEnd])) ++nameEnd;
  const std::u16string_view name = line.substr(0, nameEnd);
  const std::u16string_view rest = line.substr(nameEnd);
  const std::u16string upper = UpperAscii(name);

  if (const CommandFunction command = FindCommand(name)) {
    std::u16string arguments(SkipBlanks(rest));
    return command(arguments.data());
  }
  if (upper == u"ECHO") return Echo(rest.empty() ? rest : rest.substr(1));
  if (upper == u"SET") return Set(SkipBlanks(rest));
  if (upper == u"UNSET") {
    const std::u16string variable(TrimEnd(SkipBlanks(rest)));
    HostSetVariable(variable.c_str(), nullptr);
    return 0;
  }
  if (upper == u"CD" || upper == u"CHDIR" || upper == u"CDD")
    return ChangeDirectory(SkipBlanks(rest));
  if (upper == u"EXIT") return Exit(SkipBlanks(rest));
  if (upper == u"SETDOS") return SetDos(rest);
  if (upper == u"REM") return 0;
  if (upper == u"HELP") return ShowHelp(rest);
  if (upper == u"USAGE") return ShowUsage(rest);
  if (upper == u"VER") {
    Write(HOST_STDOUT, u"\r\nMarivex stand-in host (TCC " + State().version + u")\r\n");
    return 0;
  }
  if (upper == u"CALL") {
    const std::u16string_view arguments = SkipBlanks(rest);
    size_t fileEnd = 0;
    bool quoted = false;
    for (; fileEnd < arguments.size(); ++fileEnd) {
      if (arguments[fileEnd] == u'"') quoted = !quoted;
      if (IsBlank(arguments[fileEnd]) && !quoted) break;
    }
    return RunBatch(std::u16string(arguments.substr(0, fileEnd)), arguments.substr(fileEnd));
  }
  if (EndsWithIgnoreCase(name, u".btm") || EndsWithIgnoreCase(name, u".bat") ||
      EndsWithIgnoreCase(name, u".cmd")) {
    return RunBatch(std::u16string(name), rest);
  }
  Error(u"Unknown command \"" + std::u16string(name) + u"\"");
  return 1;
}

int RunSingleCommand(std::u16string_view command) {
  std::u16string expanded;
  if (!Expand(command, expanded)) return 1;
  return RunCommand(expanded);
}

// Where the next command separator ("&", "&&" or "||") at or after `from`
// starts; line.size() when there is none. A separator inside double quotes or
// inside the brackets of a variable function belongs to the text.
size_t NextSeparator(std::u16string_view line, size_t from) {
  bool quoted = false;
  size_t depth = 0;
  for (size_t i = from; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'[') {
      ++depth;
    } else if (c == u']') {
      if (depth > 0) --depth;
    } else if (depth == 0 && (c == u'&' || (c == u'|' && line.substr(i, 2) == u"||"))) {
      return i;
    }
  }
  return line.size();
}

// Runs the commands of one line in order, as TCC does: "a & b" runs both,
// "a && b" runs b when a succeeded, "a || b" runs b when a failed. Each
// command is expanded just before it runs, so "set x=1 & echo %x%" shows 1.
int RunLine(std::u16string_view line) {
  int code = State().lastExitCode;
  bool runs = true;
  size_t start = 0;
  for (;;) {
    const size_t end = NextSeparator(line, start);
    if (runs) {
      code = RunSingleCommand(line.substr(start, end - start));
      State().lastExitCode = code;
      if (State().exitRequested) break;
    }
    if (end == line.size()) break;
    const bool doubled = line.substr(end + 1, 1) == line.substr(end, 1);
    const std::u16string_view separator = line.substr(end, doubled ? 2 : 1);
    runs = separator == u"&" || (separator == u"&&") == (code == 0);
    start = end + separator.size();
  }
  return code;
}

}  // namespace

}  // namespace host

extern "C" void HostSetBatchFileReader(HostBatchFileReader reader, void* context) {
  host::batchFileReader = reader;
  host::batchFileContext = context;
}

extern "C" int HostExecute(const char16_t* commandLine) {
  if (commandLine == nullptr) return 0;
  const int code = host::RunLine(commandLine);
  host::State().lastExitCode = code;
  return code;
}
