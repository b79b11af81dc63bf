// Benchmarks of the plug-in's paths, linked with the plug-in's code, the
// stand-in host and the Win32 stand-ins.
//
// Each path is measured next to its floor: the memory traffic its own code
// cannot avoid, that is clearing the fixed buffers it clears on every call and
// one pass over its input, done with memset and memcpy. A case and its floor
// refill the input the same way, since the conversions work in place.
//
//   marivex_bench [Google Benchmark options]   time every case
//   marivex_bench --inputs                     print the inputs as JSON (for the Python peers)
//   marivex_bench --callgrind N [TEXT]         run each case (whose name contains TEXT) N
//                                              times between callgrind client requests,
//                                              one dump per case
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/text.h"
#include "bench/inputs.h"
#include "command/arguments.h"
#include "host/takecmd.h"
#include "hotkey/hook.h"
#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/settings.h"
#include "platform/platform.h"
#include "plugin/exports.h"

namespace {

using bench::ConversionNames;
using bench::DoubledUri;
using bench::GrowthLengths;
using bench::MakeName;
using bench::MakeUri;
using bench::UriOf;

// The host's argument buffer and command line, and the buffers of the floors.
alignas(64) char16_t argumentBuffer[MAX_ARG_LEN];
alignas(64) char16_t lineBuffer[kMaxLineLen];
alignas(64) unsigned char floorCleared[(kMaxLineLen + 2 * MAX_ARG_LEN) * sizeof(char16_t)];
alignas(64) unsigned char floorPass[kMaxLineLen * sizeof(char16_t)];

// Output the host writes, kept as a capture would keep it.
alignas(64) char16_t captured[MAX_ARG_LEN];
size_t capturedLength = 0;

void Capture(int /*stream*/, const char16_t* text, size_t length, void* /*context*/) {
  const size_t room = CountOf(captured) - capturedLength;
  const size_t n = std::min(length, room);
  std::memcpy(captured + capturedLength, text, n * sizeof(char16_t));
  capturedLength += n;
}

void Refill(char16_t* target, const std::u16string& input) {
  std::memcpy(target, input.c_str(), (input.size() + 1) * sizeof(char16_t));
}

[[noreturn]] void Fail(const std::string& name, const std::string& why) {
  std::fprintf(stderr, "marivex_bench: %s: %s\n", name.c_str(), why.c_str());
  std::exit(1);
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Every case once registered: for Google Benchmark, and as a loop of n calls
// for the callgrind mode.
struct Case {
  std::string name;
  std::function<void(size_t)> repeat;
};

std::vector<Case>& Cases() {
  static std::vector<Case> cases;
  return cases;
}

template <typename Op>
void Add(const std::string& name, Op op) {
  benchmark::RegisterBenchmark(name.c_str(), [op](benchmark::State& state) mutable {
    for (auto _ : state) op();
  });
  Cases().push_back({name, [op](size_t n) mutable {
                       for (size_t i = 0; i < n; ++i) op();
                     }});
}

// The floor of a path: the same refill as the case (none for a null
// target), a memset of each buffer the path clears (sizes in bytes), and one
// memcpy pass over the input.
void AddFloor(const std::string& name, char16_t* refillTarget, const std::u16string& input,
              std::vector<size_t> clearedBytes, size_t inputBytes) {
  Add(name + "/floor", [=] {
    if (refillTarget != nullptr) Refill(refillTarget, input);
    unsigned char* region = floorCleared;
    for (size_t bytes : clearedBytes) {
      std::memset(region, 0, bytes);
      region += bytes;
    }
    std::memcpy(floorPass, input.data(), inputBytes);
    benchmark::ClobberMemory();
  });
}

constexpr size_t kArgBytes = MAX_ARG_LEN * sizeof(char16_t);
size_t BytesOf(const std::u16string& text) {
  return text.size() * sizeof(char16_t);
}

// ---- The conversion functions ----------------------------------------------

void CheckVariableFunction(const std::string& name, int (*function)(char16_t*),
                           const std::u16string& input, const std::u16string& expected) {
  Refill(argumentBuffer, input);
  capturedLength = 0;
  if (function(argumentBuffer) != 0 || argumentBuffer != expected || capturedLength != 0) {
    Fail(name, "gives \"" + Narrow(argumentBuffer) + "\", expected \"" + Narrow(expected) + "\"");
  }
}

void AddVariableFunction(const std::string& name, int (*function)(char16_t*),
                         const std::u16string& input, const std::u16string& expected) {
  CheckVariableFunction(name, function, input, expected);
  Add(name, [function, input] {
    Refill(argumentBuffer, input);
    benchmark::DoNotOptimize(function(argumentBuffer));
    benchmark::ClobberMemory();
  });
  // One 8,192-character scratch buffer, cleared on entry.
  AddFloor(name, argumentBuffer, input, {kArgBytes}, BytesOf(input));
}

std::u16string SafePercentUri(const std::u16string& name) {
  std::u16string out = UriOf(name);
  std::replace(out.begin(), out.end(), u'%', char16_t{0xFF05});
  return out;
}

std::u16string QuotedIfBlank(const std::u16string& name) {
  return name.find(u' ') == name.npos ? name : u"\"" + name + u"\"";
}

void AddConversions() {
  for (const auto& [label, name] : ConversionNames()) {
    const std::string size = label;
    AddVariableFunction("file2uri_" + size, f_file2uri, name, DoubledUri(name));
    AddVariableFunction("file2uris_" + size, f_file2uris, name, SafePercentUri(name));
    AddVariableFunction("uri2file_" + size, f_uri2file, UriOf(name), QuotedIfBlank(name));
  }
}

// The calls out of the conversions, bare: the host's canonical name and the
// Win32 stand-ins, each given an 8,192-character output buffer. They show how
// much of a conversion is spent outside the plug-in's own code.
void AddCallsOut() {
  static char16_t out[MAX_ARG_LEN];
  for (const auto& [label, name] : ConversionNames()) {
    const std::string size = label;
    Add("calls_out/QueryTrueName_" + size, [name] {
      benchmark::DoNotOptimize(QueryTrueName(name.c_str(), out));
      benchmark::ClobberMemory();
    });
    Add("calls_out/UrlCreateFromPathW_" + size, [name] {
      platform::DWORD length = MAX_ARG_LEN;
      benchmark::DoNotOptimize(platform::UrlCreateFromPathW(name.c_str(), out, &length, 0));
      benchmark::ClobberMemory();
    });
    const std::u16string uri = UriOf(name);
    Add("calls_out/PathCreateFromUrlW_" + size, [uri] {
      platform::DWORD length = MAX_ARG_LEN;
      benchmark::DoNotOptimize(platform::PathCreateFromUrlW(uri.c_str(), out, &length, 0));
      benchmark::ClobberMemory();
    });
  }
}

// ---- The keystroke hook ----------------------------------------------------

// A plain "a", no modifier held: the hook's path for nearly every key.
void AddNonmatchingKey() {
  static char16_t label[] = u"A";
  static KeystrokeRecord record{};
  record.keyCode = u'a';
  record.line = lineBuffer;
  record.cursor = lineBuffer;
  record.keyLabel = label;
  Add("key_nonmatching", [] {
    benchmark::DoNotOptimize(key(&record));
    benchmark::ClobberMemory();
  });
  key(&record);
  if (record.keyCode != u'a') Fail("key_nonmatching", "the key was swallowed");
  // Its only input is the record; it clears nothing.
  Add("key_nonmatching/floor", [] {
    std::memcpy(floorPass, &record, sizeof(record));
    benchmark::ClobberMemory();
  });
}

// ConvertWordAtCursor on line with the cursor at offset cursor, which must
// turn the word into expected.
void AddConvertWord(const std::string& name, const std::u16string& line, size_t cursor,
                    const std::u16string& expected) {
  static KeystrokeRecord record{};
  const auto convert = [line, cursor] {
    Refill(lineBuffer, line);
    record.keyCode = DEFAULT_HOTKEY;
    record.line = lineBuffer;
    record.cursor = lineBuffer + cursor;
    record.redraw = 0;
    record.keyLabel = nullptr;
    benchmark::DoNotOptimize(ConvertWordAtCursor(&record));
    benchmark::ClobberMemory();
  };
  convert();
  if (record.redraw != 1 || lineBuffer != expected) {
    Fail(name, "gives \"" + Narrow(lineBuffer).substr(0, 80) + "\"");
  }
  Add(name, convert);
  // The word buffer and the scratch buffer of FileToUri; the rebuilt line is
  // written, not cleared.
  AddFloor(name, lineBuffer, line, {kArgBytes, kArgBytes}, BytesOf(line));
}

// Words that fill a line around the one converted.
std::u16string Filler(size_t length) {
  const std::u16string word = u" word";
  std::u16string out;
  for (size_t i = 0; i < length; ++i) out += word[i % word.size()];
  return out;
}

void AddConvertWords() {
  const std::u16string quoted = u"\"" + bench::kTypicalName + u"\"";
  const std::u16string converted = DoubledUri(bench::kTypicalName);
  AddConvertWord("convert_word_short", u"type " + quoted, 5 + quoted.size(), u"type " + converted);
  // 65,000 characters, the word in the middle.
  const size_t before = 32500;
  const std::u16string head = u"echo" + Filler(before - 4) + u" ";
  const std::u16string tail = Filler(65000 - head.size() - quoted.size());
  AddConvertWord("convert_word_65000", head + quoted + tail, head.size() + 3,
                 head + converted + tail);
}

// ---- Key names, arguments and the command ------------------------------------

void AddParseKeyName(const std::string& name, const std::u16string& text, int32_t expected) {
  if (ParseKeyName(text.c_str()) != expected) Fail(name, "unexpected code");
  Add(name, [text] {
    benchmark::DoNotOptimize(ParseKeyName(text.c_str()));
    benchmark::ClobberMemory();
  });
  // It clears no buffer; its input is the name.
  AddFloor(name, nullptr, text, {}, BytesOf(text));
}

// Typical arguments of the command repeated to length characters: a key
// name, switches written together, a quoted argument.
std::u16string ArgumentText(size_t length) {
  const std::u16string pattern = u"ctrl-alt-shift-k /q/s \"quoted words\" ";
  std::u16string out;
  for (size_t i = 0; i < length; ++i) out += pattern[i % pattern.size()];
  return out;
}

// The splitter resets every pointer and length of the argument array.
constexpr size_t kArgumentArrayBytes = sizeof(argPointers) + sizeof(argLengths);

void AddArgumentSplitter(const std::string& name, const std::u16string& text) {
  if (ArgumentSplitter(text.c_str()) <= 0) Fail(name, "no arguments");
  Add(name, [text] {
    benchmark::DoNotOptimize(ArgumentSplitter(text.c_str()));
    benchmark::ClobberMemory();
  });
  AddFloor(name, nullptr, text, {kArgumentArrayBytes}, BytesOf(text));
}

void AddMarivexKey() {
  static char16_t noArguments[] = u"";
  capturedLength = 0;
  if (marivexkey(noArguments) != 0 || capturedLength == 0) Fail("marivexkey", "no display");
  Add("marivexkey_no_args", [] {
    capturedLength = 0;
    benchmark::DoNotOptimize(marivexkey(noArguments));
    benchmark::ClobberMemory();
  });
  // Its key-name buffer and the argument array; no input.
  AddFloor("marivexkey_no_args", nullptr, u"",
           {kMaxNameLen * sizeof(char16_t), kArgumentArrayBytes}, 0);
}

// ---- Growth with the input's length --------------------------------------------

void AddGrowth() {
  for (size_t length : GrowthLengths()) {
    const size_t nameLength = std::min(length, bench::kLongestConvertibleName);
    const std::u16string name = MakeName(nameLength);
    AddVariableFunction("growth_file2uri_" + std::to_string(nameLength), f_file2uri, name,
                        DoubledUri(name));
    const std::u16string uri = MakeUri(length);
    std::u16string path = uri.substr(8);
    std::replace(path.begin(), path.end(), u'/', u'\\');
    AddVariableFunction("growth_uri2file_" + std::to_string(length), f_uri2file, uri, path);
    AddArgumentSplitter("growth_argumentsplitter_" + std::to_string(length), ArgumentText(length));
    // A line of that length whose first word is converted.
    const std::u16string word = u"C:\\Temp\\a.txt";
    const std::u16string rest = Filler(length - word.size());
    AddConvertWord("growth_convert_word_" + std::to_string(length), word + rest, word.size(),
                   u"file:///C:/Temp/a.txt" + rest);
  }
}

void RegisterAll() {
  AddConversions();
  AddNonmatchingKey();
  AddConvertWords();
  AddParseKeyName("parsekeyname_ctrl_alt_u", u"Ctrl-Alt-U", DEFAULT_HOTKEY);
  AddParseKeyName("parsekeyname_not_a_key", u"Ctrl-Alt-Entr", kNotAKeyName);
  AddArgumentSplitter("argumentsplitter_8000", ArgumentText(8000));
  AddMarivexKey();
  AddCallsOut();
  AddGrowth();
}

// ---- Modes -------------------------------------------------------------------

void PrintInputs() {
  std::printf("{\"names\": {");
  const char* separator = "";
  for (const auto& [label, name] : ConversionNames()) {
    std::printf("%s\"%s\": {\"name\": \"", separator, label);
    for (char16_t c : name) std::printf(c == u'\\' ? "\\\\" : "%c", static_cast<char>(c));
    std::printf("\", \"uri\": \"%s\"}", Narrow(UriOf(name)).c_str());
    separator = ", ";
  }
  std::printf("}}\n");
}

// Runs every case n times between callgrind's client requests: the counts are
// zeroed before and dumped after, so each case has a dump of its own, named
// after it. A first call outside the count resolves the dynamic symbols.
void RunUnderCallgrind(size_t n, const char* filter) {
  for (const Case& c : Cases()) {
    if (c.name.find(filter) == std::string::npos) continue;
    c.repeat(1);
    CALLGRIND_ZERO_STATS;
    c.repeat(n);
    CALLGRIND_DUMP_STATS_AT(c.name.c_str());
  }
}

void SetUpHost() {
  HostReset();
  HostSetOutputSink(Capture, nullptr);
  ProbeHostVersion();
  currentHotkey = DEFAULT_HOTKEY;
}

}  // namespace

int main(int argc, char** argv) {
  SetUpHost();
  if (argc > 1 && std::strcmp(argv[1], "--inputs") == 0) {
    PrintInputs();
    return 0;
  }
  RegisterAll();
  if (argc > 2 && std::strcmp(argv[1], "--callgrind") == 0) {
    RunUnderCallgrind(static_cast<size_t>(std::strtoul(argv[2], nullptr, 10)),
                      argc > 3 ? argv[3] : "");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
