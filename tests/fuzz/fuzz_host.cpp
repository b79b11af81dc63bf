// The stand-in shell with the plug-in loaded from its file survives any
// input: command lines through HostExecute and keys through HostKeystroke,
// with batch files that the input itself supplies. After each command line
// "%?" gives its exit code. A step marked "\2" names a file: when it is a
// drive path that a URI can carry, %@URI2FILE[%@FILE2URIS[name]] gives its
// canonical name back (quoted by the quote rule), unless that name ends in
// white space above U+00FF or holds "?" or U+FF05. A step marked "\3"
// presses the default hotkey on a line that holds one word: what the hotkey
// writes there runs as written, the shell reading nothing in it but each
// "%%" as "%", and any double quotes in it enclose it whole. Batch files
// never come from the file system here: a reader serves the input's files
// A.BTM, B.BTM and C.BTM (in any folder and any case), at most
// kMaxBatchReads times per input, and knows no other.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "host/takecmd.h"
#include "platform/posix/standin.h"
#include "support/utf.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/oracles.h"

namespace {

using testing_support::Check;

constexpr size_t kMaxSteps = 16;
constexpr char16_t kKeystrokeMark = u'\u0001';
constexpr char16_t kRoundTripMark = u'\u0002';
constexpr char16_t kHotkeyMark = u'\u0003';
// The code the host gives for the default hotkey, Ctrl-Alt-U, with Ctrl and
// Alt held.
constexpr int32_t kDefaultHotkeyCode = 0x10016;
// Canonical names up to this length: their URIs, escapes and all, fit the
// host's argument buffer.
constexpr size_t kLongestRoundTripName = 2000;

std::vector<std::string> batchFiles;
// Batch files may call each other, two calls a line make the work grow
// exponentially with the nesting, and no shell stops that. The reader
// therefore serves at most this many batch files per input: each run of a
// batch file costs as much as a whole input without one, and the shell's own
// bound on nesting is tested by the host's tests.
constexpr int kMaxBatchReads = 8;
int batchReads = 0;

// The input's batch file that path names: its last component, ignoring the
// case of ASCII letters, is A.BTM, B.BTM or C.BTM.
int ReadBatchFile(const char16_t* path, const char** bytes, size_t* size, void*) {
  std::u16string name(path);
  const size_t slash = name.find_last_of(u"\\/:");
  if (slash != std::u16string::npos) name.erase(0, slash + 1);
  for (char16_t& c : name) c = AsciiUpper(c);
  if (++batchReads > kMaxBatchReads || name.size() != 5 || name.substr(1) != u".BTM" ||
      name[0] < u'A' || name[0] >= u'A' + static_cast<char16_t>(batchFiles.size())) {
    return 0;
  }
  const std::string& file = batchFiles[name[0] - u'A'];
  *bytes = file.data();
  *size = file.size();
  return 1;
}

// A step "\1" + code (two units) + modifiers and cursor (one unit each) +
// line: presses a key with that line at the prompt.
void Press(const std::u16string& step) {
  const auto unit = [&step](size_t i) -> uint32_t { return i < step.size() ? step[i] : 0; };
  const auto code = static_cast<int32_t>(unit(1) | (unit(2) << 16));
  const uint32_t modifiers = unit(3);
  const std::u16string text = step.size() > 5 ? step.substr(5) : u"";
  standin::SetKeyDown(platform::VK_SHIFT, (modifiers & 1) != 0);
  standin::SetKeyDown(platform::VK_CONTROL, (modifiers & 2) != 0);
  standin::SetKeyDown(platform::VK_MENU, (modifiers & 4) != 0);

  static testing_support::GuardedBuffer line(kMaxLineLen);
  line.Load(text);
  KeystrokeRecord record{};
  record.keyCode = code;
  record.line = line.Data();
  record.cursor = line.Data() + std::min<size_t>(unit(4), text.size());
  HostKeystroke(&record);
  standin::ReleaseAllKeys();
  CheckGuard(line, "a keystroke wrote past the line");
  const size_t length = TerminatedLength(line, "a keystroke left the line unterminated");
  Check(record.line == line.Data(), "a keystroke moved the line");
  Check(record.cursor >= record.line && record.cursor <= record.line + length,
        "a keystroke left the cursor outside the line");
}

std::u16string Expanded(const std::u16string& text) {
  static std::vector<char16_t> out(MAX_ARG_LEN);
  if (HostExpand(text.c_str(), out.data(), out.size()) == 0) return u"(failed)";
  return out.data();
}

// Runs a command line; "%?" then gives its exit code.
void Execute(const std::u16string& line) {
  const int code = HostExecute(line.c_str());
  Check(Expanded(u"%?") == support::ToUtf16(std::to_string(code)),
        "%? is not the exit code of the last command line");
}

// A step "\2" + name: a drive path (not made of what the shell would expand
// or the URI would not carry) comes back from its URI as its canonical name.
void RoundTrip(const std::u16string& step) {
  const std::u16string name = testing_support::TrimmedByRule(std::u16string_view(step).substr(1));
  if (name.empty() || name.find_first_of(u"%[]/") != std::u16string::npos) return;
  static std::vector<char16_t> canonical(MAX_ARG_LEN);
  canonical[0] = u'\0';
  QueryTrueName(name.c_str(), canonical.data());
  const std::u16string_view path = canonical.data();
  if (path.size() < 3 || path.size() > kLongestRoundTripName || path[1] != u':') return;
  // Windows leaves characters above U+00FF raw in a URI, and @URI2FILE trims
  // white space from its argument: such white space at the end of the name
  // does not come back.
  if (path.back() > 0xFF && testing_support::IsWhiteSpaceByRule(path.back())) return;
  // No Windows name holds "?", which ends the path of a URI, and the
  // functions read U+FF05 as "%": a name that holds either, in itself or in
  // the current folder it names a file in, does not come back.
  if (path.find_first_of(u"?\uFF05") != std::u16string_view::npos) return;
  Check(Expanded(u"%@uri2file[%@file2uris[" + name + u"]]") == testing_support::QuotedByRule(path),
        "a drive path does not come back from its URI as its canonical name");
}

// A step "\3" + word: the default hotkey on a line holding just the word
// (no white space, no double quote), with the cursor at its start.
void PressHotkey(const std::u16string& step) {
  const std::u16string word = step.substr(1);
  if (word.empty() || word.size() > MAX_ARG_LEN - 1 || word.find(u'"') != std::u16string::npos ||
      std::any_of(word.begin(), word.end(), testing_support::IsWhiteSpaceByRule)) {
    return;
  }
  static testing_support::GuardedBuffer line(kMaxLineLen);
  line.Load(word);
  KeystrokeRecord record{};
  record.keyCode = kDefaultHotkeyCode;
  record.line = line.Data();
  record.cursor = line.Data();
  standin::SetKeyDown(platform::VK_CONTROL, true);
  standin::SetKeyDown(platform::VK_MENU, true);
  HostKeystroke(&record);
  standin::ReleaseAllKeys();
  CheckGuard(line, "the hotkey wrote past the line");
  if (record.redraw == 0) return;
  const std::u16string written(line.Data(),
                               TerminatedLength(line, "the hotkey left no terminator"));
  Check(Expanded(written) == testing_support::WithPercentPairsCollapsed(written),
        "the shell expands what the hotkey wrote into the line");
  const size_t quotes = std::count(written.begin(), written.end(), u'"');
  Check(quotes == 0 || (quotes == 2 && written.front() == u'"' && written.back() == u'"'),
        "the double quotes the hotkey wrote do not enclose the whole of its result");
}

// The shell as it starts, with the default hotkey and no batch files.
void StartAfresh() {
  HostReset();
  testing_support::ClearRegistry();
  HostExecute(u"marivexkey /d /q");
  batchFiles.clear();
  batchReads = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool prepared = [] {
    testing_support::PrepareHost();
    HostSetBatchFileReader(&ReadBatchFile, nullptr);
    Check(HostLoadPlugin(MARIVEX_PLUGIN_FILE) == 0, "cannot load the plug-in");
    return true;
  }();
  (void)prepared;
  testing_support::Input input(data, size);
  const size_t batchCount = input.Byte() % 4;
  std::vector<std::u16string> segments;
  const std::u16string rest = input.Rest();
  for (size_t start = 0; start <= rest.size() && segments.size() < batchCount + kMaxSteps;) {
    const size_t end = std::min(rest.find(u'\0', start), rest.size());
    segments.push_back(rest.substr(start, end - start));
    start = end + 1;
  }

  StartAfresh();
  size_t step = 0;
  for (; step < batchCount && step < segments.size(); ++step) {
    batchFiles.push_back(support::ToUtf8(segments[step]));
  }
  for (; step < segments.size(); ++step) {
    const std::u16string& text = segments[step];
    if (!text.empty() && text[0] == kKeystrokeMark) {
      Press(text);
    } else if (!text.empty() && text[0] == kRoundTripMark) {
      RoundTrip(text);
    } else if (!text.empty() && text[0] == kHotkeyMark) {
      PressHotkey(text);
    } else {
      Execute(text);
    }
  }
  // What the input allocated is freed within the input: libFuzzer takes
  // more allocations than frees in one input for a possible leak and runs
  // it again to look.
  StartAfresh();
  return 0;
}
