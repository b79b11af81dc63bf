// The keystroke hook on any line, cursor, key code, key label and modifier
// state, under both key schemes. A key that is not the hotkey leaves the
// record alone. On the hotkey the key is swallowed, and what happens to the
// line is predicted from the rules: the word at the cursor is found again by
// the target's own scan and read with each "%%" as one "%". A "file://" word
// becomes Windows' conversion of it quoted by the quote rule, and any other
// word Windows' URL of its canonical name; either goes into the line with
// each "%" doubled, since the shell expands the line when it runs. A name
// that would hold a double quote, or a result that does not fit, gives up.
// Where the prediction is a conversion, the line is rewritten (after
// clearing the displayed one) into the text before the word, the result and
// the text after the word, with the cursor right after the result; otherwise
// the hook gives up with the asterisk sound, leaving the line, the sentinel
// after the host's 65,536 characters, the cursor and the redraw flag
// unchanged.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "base/text.h"
#include "host/takecmd.h"
#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/settings.h"
#include "platform/posix/standin.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/oracles.h"

namespace {

using testing_support::Check;
using testing_support::GuardedBuffer;

constexpr uint8_t kExtendedScheme = 1;
constexpr uint8_t kShift = 2;
constexpr uint8_t kCtrl = 4;
constexpr uint8_t kAlt = 8;
constexpr uint8_t kWithLabel = 16;
constexpr uint8_t kUnterminatedLine = 32;
constexpr uint8_t kRedrawSet = 64;

int clears = 0;
int sounds = 0;

void CountClear(const char16_t*, void*) {
  ++clears;
}

// The code the host gives: any value, or often one that the modifiers and
// the hotkey make a match, so that the fuzzer spends its time converting.
int32_t KeyCode(testing_support::Input& input) {
  const uint8_t choice = input.Byte();
  const int32_t raw = static_cast<int32_t>(input.Dword());
  if (choice % 4 == 0) return raw;
  return currentHotkey & 0x1FFFF;
}

struct Word {
  size_t start;
  size_t end;
};

// The word the cursor selects: a word starts at a character that is not
// white space and ends at white space outside double quotes (a double quote
// flips the state) or at the end of the line. A word that ends at white
// space is selected when the cursor lies from its start to its end; the
// word still open at the end of the line when it starts at or before the
// cursor.
std::optional<Word> SelectedWord(std::u16string_view line, int64_t cursor) {
  bool quoted = false;
  std::optional<size_t> start;
  for (size_t p = 0; p < line.size(); ++p) {
    if (line[p] == u'"') quoted = !quoted;
    const bool space = testing_support::IsWhiteSpaceByRule(line[p]);
    if (!start) {
      if (!space) start = p;
    } else if (space && !quoted) {
      if (static_cast<int64_t>(*start) <= cursor && static_cast<int64_t>(p) >= cursor) {
        return Word{*start, p};
      }
      start.reset();
    }
  }
  if (start && static_cast<int64_t>(*start) <= cursor) return Word{*start, line.size()};
  return std::nullopt;
}

// What the word becomes as the line holds it, or nothing when the hook is to
// give up.
std::optional<std::u16string> Converted(std::u16string_view word) {
  std::u16string bare;
  for (const char16_t c : word) {
    if (c != u'"') bare += c;
  }
  bare = testing_support::WithPercentPairsCollapsed(bare);
  std::u16string scheme = bare.substr(0, 7);
  for (char16_t& c : scheme) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
  }
  std::u16string result;
  if (scheme == u"file://") {
    const testing_support::Conversion path = testing_support::WindowsPathOfUrl(bare);
    const std::u16string name = testing_support::QuotedByRule(path.text);
    if (path.text.empty() || path.text.find(u'"') != std::u16string::npos ||
        name.size() > MAX_ARG_LEN - 1) {
      return std::nullopt;
    }
    result = testing_support::WithEachPercentDoubled(name);
  } else {
    const std::u16string trimmed = testing_support::TrimmedByRule(bare);
    if (trimmed.empty()) return std::nullopt;
    static GuardedBuffer canonical(MAX_ARG_LEN);
    canonical.Load(u"");
    QueryTrueName(trimmed.c_str(), canonical.Data());
    const testing_support::Conversion url = testing_support::WindowsUrlOfPath(canonical.Text());
    if (url.result != platform::S_OK && url.result != platform::S_FALSE) return std::nullopt;
    result = testing_support::WithEachPercentDoubled(url.text);
  }
  if (result.size() > MAX_ARG_LEN - 1) return std::nullopt;
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool prepared = [] {
    testing_support::PrepareHost();
    HostSetClearLineHandler(&CountClear, nullptr);
    standin::SetSoundHandler([](const char16_t*, platform::DWORD) { ++sounds; });
    return true;
  }();
  (void)prepared;
  testing_support::Input input(data, size);
  const uint8_t flags = input.Byte();
  extendedKeys = (flags & kExtendedScheme) != 0 ? 1 : 0;
  const int32_t hotkey = static_cast<int32_t>(input.Dword());
  currentHotkey = IsAcceptableHotkey(hotkey) ? hotkey : DEFAULT_HOTKEY;
  standin::ReleaseAllKeys();
  standin::SetKeyDown(platform::VK_SHIFT, (flags & kShift) != 0);
  standin::SetKeyDown(platform::VK_CONTROL, (flags & kCtrl) != 0);
  standin::SetKeyDown(platform::VK_MENU, (flags & kAlt) != 0);
  const int32_t keyCode = KeyCode(input);
  // The cursor anywhere from a little before the line to a little past it.
  const int64_t cursorOffset = static_cast<int64_t>(input.Dword() % (kMaxLineLen + 9)) - 4;
  const std::u16string labelText = input.Text(input.Byte());
  const std::u16string lineText = input.PaddedText(kMaxLineLen);

  static GuardedBuffer line(kMaxLineLen);
  static GuardedBuffer label(kMaxNameLen);
  line.Load(lineText, (flags & kUnterminatedLine) == 0);
  label.Load(labelText);
  static std::u16string lineBefore;
  lineBefore.assign(line.Data(), kMaxLineLen + GuardedBuffer::kGuardLength);
  const std::u16string labelBefore(label.Data(), kMaxNameLen + GuardedBuffer::kGuardLength);

  KeystrokeRecord record{};
  record.keyCode = keyCode;
  for (int32_t i = 0; i < 5; ++i) record.hostData[i] = 0x5A5A0000 + i;
  record.line = line.Data();
  record.cursor = reinterpret_cast<char16_t*>(reinterpret_cast<uintptr_t>(line.Data()) +
                                              static_cast<uintptr_t>(cursorOffset * 2));
  record.redraw = (flags & kRedrawSet) != 0 ? 1 : 0;
  record.keyLabel = (flags & kWithLabel) != 0 ? label.Data() : nullptr;
  const KeystrokeRecord recordBefore = record;
  clears = 0;
  sounds = 0;

  testing_support::Output output;
  testing_support::CaptureOutput(&output);
  const int result = key(&record);
  testing_support::CaptureOutput(nullptr);
  standin::ReleaseAllKeys();

  Check(result == 0, "the hook returned other than 0");
  CheckGuard(line, "the hook wrote past the host's line");
  CheckGuard(label, "the hook wrote past the key label");
  for (int32_t i = 0; i < 5; ++i)
    Check(record.hostData[i] == 0x5A5A0000 + i, "the hook wrote the host's data");
  Check(record.line == recordBefore.line, "the hook moved the line");
  Check(record.keyLabel == recordBefore.keyLabel, "the hook moved the label");
  Check(clears + sounds <= 1, "the hook both cleared the line and gave up, or did either twice");

  if (clears == 0 && sounds == 0) {
    // Not the hotkey: nothing changes.
    Check(record.keyCode == recordBefore.keyCode, "the hook changed another key's code");
    Check(record.cursor == recordBefore.cursor && record.redraw == recordBefore.redraw,
          "the hook changed the record for another key");
    Check(std::memcmp(line.Data(), lineBefore.data(), lineBefore.size() * 2) == 0,
          "the hook changed the line for another key");
    Check(std::u16string(label.Data(), labelBefore.size()) == labelBefore,
          "the hook changed the label of another key");
    return 0;
  }
  Check(record.keyCode == 0, "the hotkey was not swallowed");
  if (record.keyLabel != nullptr && extendedKeys != 0) {
    Check(label.Data()[0] == u'\0', "the hotkey's label was not emptied");
  }
  // The line as the hook reads it: up to its terminator within the host's
  // 65,536 characters; a line without one is given up on.
  const std::u16string_view lineRead(lineBefore.data(), kMaxLineLen);
  const size_t lineLength = lineRead.find(u'\0');
  std::optional<Word> word;
  if (lineLength != std::u16string_view::npos) {
    word = SelectedWord(lineRead.substr(0, lineLength), cursorOffset);
  }
  std::optional<std::u16string> prediction;
  if (word && word->end - word->start <= MAX_ARG_LEN - 1) {
    prediction = Converted(lineRead.substr(word->start, word->end - word->start));
  }
  if (prediction && word->start + prediction->size() + (lineLength - word->end) > kMaxLineLen - 1) {
    prediction.reset();
  }

  if (!prediction) {
    Check(sounds == 1, "the hook converted where the rules give up");
    Check(std::memcmp(line.Data(), lineBefore.data(), lineBefore.size() * 2) == 0,
          "the hook gave up but changed the line");
    Check(record.cursor == recordBefore.cursor, "the hook gave up but moved the cursor");
    Check(record.redraw == recordBefore.redraw, "the hook gave up but set the redraw flag");
    return 0;
  }
  Check(clears == 1, "the hook gave up where the rules convert");
  const size_t length = TerminatedLength(line, "the rewritten line has no terminator");
  Check(record.redraw == 1, "the line was rewritten without the redraw flag");
  Check(output.err.empty(), "the line was rewritten after an error");
  const std::u16string_view rewritten(line.Data(), length);
  const std::u16string_view before = lineRead.substr(0, word->start);
  const std::u16string_view after = lineRead.substr(word->end, lineLength - word->end);
  Check(rewritten.size() >= before.size() + after.size() &&
            rewritten.substr(0, before.size()) == before &&
            rewritten.substr(rewritten.size() - after.size()) == after,
        "the text before or after the word changed");
  const size_t resultLength = rewritten.size() - before.size() - after.size();
  Check(record.cursor == record.line + before.size() + resultLength,
        "the cursor is not right after the converted word");
  Check(rewritten.substr(before.size(), resultLength) == *prediction,
        "the word did not become its conversion by the rules");
  return 0;
}
