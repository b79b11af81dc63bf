// The keystroke hook on any line, cursor, key code, key label and modifier
// state, under both key schemes. A key that is not the hotkey leaves the
// record alone. On the hotkey the key is swallowed, and either the hook gives
// up (with the asterisk sound) leaving the line, the sentinel after the
// host's 65,536 characters, the cursor and the redraw flag unchanged, or it
// rewrites the line (after clearing the displayed one) into a terminated
// line within capacity with the cursor inside it.
#include <cstdint>
#include <cstring>
#include <string>

#include "base/text.h"
#include "host/takecmd.h"
#include "hotkey/hostversion.h"
#include "hotkey/keynames.h"
#include "hotkey/settings.h"
#include "platform/posix/standin.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using fuzzing::Check;
using fuzzing::GuardedBuffer;

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
int32_t KeyCode(fuzzing::Input& input) {
  const uint8_t choice = input.Byte();
  const int32_t raw = static_cast<int32_t>(input.Dword());
  if (choice % 4 == 0) return raw;
  return currentHotkey & 0x1FFFF;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool prepared = [] {
    fuzzing::PrepareHost();
    HostSetClearLineHandler(&CountClear, nullptr);
    standin::SetSoundHandler([](const char16_t*, platform::DWORD) { ++sounds; });
    return true;
  }();
  (void)prepared;
  fuzzing::Input input(data, size);
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

  fuzzing::Output output;
  fuzzing::CaptureOutput(&output);
  const int result = key(&record);
  fuzzing::CaptureOutput(nullptr);
  standin::ReleaseAllKeys();

  Check(result == 0, "the hook returned other than 0");
  line.CheckGuard("the hook wrote past the host's line");
  label.CheckGuard("the hook wrote past the key label");
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
  if (sounds == 1) {
    Check(std::memcmp(line.Data(), lineBefore.data(), lineBefore.size() * 2) == 0,
          "the hook gave up but changed the line");
    Check(record.cursor == recordBefore.cursor, "the hook gave up but moved the cursor");
    Check(record.redraw == recordBefore.redraw, "the hook gave up but set the redraw flag");
    return 0;
  }
  const size_t length = line.TerminatedLength("the rewritten line has no terminator");
  Check(record.redraw == 1, "the line was rewritten without the redraw flag");
  Check(record.cursor >= record.line && record.cursor <= record.line + length,
        "the cursor lies outside the rewritten line");
  Check(output.err.empty(), "the line was rewritten after an error");
  return 0;
}
