// The MARIVEXKEY command on any argument text, with any saved setting in a
// registry of its own and any hotkey in force: the exit code is 0, 1 or 2,
// the hotkey in force stays 0 or a code of the active key table, every
// error carries the prefix, and the argument text is not changed. A refused
// command (exit code 1) changes neither the hotkey nor either saved value;
// a saved value changes only to the hotkey in force. When the input asks,
// " /Q /S" or " /Q /S!" is appended: a quiet command that ends with 0 and
// prints nothing (no help) has saved the hotkey in force there.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/settings.h"
#include "platform/posix/standin.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using testing_support::Check;

constexpr uint8_t kExtendedScheme = 1;
constexpr uint8_t kSavedInCurrentUser = 2;
constexpr uint8_t kSavedInLocalMachine = 4;
constexpr uint8_t kLocalMachineReadOnly = 8;
constexpr uint8_t kAppendQuietSave = 16;
constexpr uint8_t kSaveForTheMachine = 32;
constexpr uint8_t kStartWithoutHotkey = 64;
constexpr uint8_t kStartWithCtrlAltK = 128;
constexpr size_t kLongestTextForAppendedSave = 1000;

// Stores the hotkey value with any type and up to eight bytes of data.
void SaveValue(platform::HKEY root, testing_support::Input& input) {
  const platform::DWORD type = input.Byte() % 12;
  const size_t size = input.Byte() % 9;
  uint8_t bytes[8] = {};
  for (size_t i = 0; i < size; ++i) bytes[i] = input.Byte();
  platform::HKEY key = nullptr;
  if (platform::RegCreateKeyExW(root, kRegistrySubkey, 0, nullptr, 0,
                                platform::KEY_READ | platform::KEY_WRITE, nullptr, &key,
                                nullptr) != platform::ERROR_SUCCESS) {
    return;
  }
  platform::RegSetValueExW(key, kRegistryValue, 0, type, bytes, static_cast<platform::DWORD>(size));
  platform::RegCloseKey(key);
}

// The saved hotkey value under root as stored: its type and bytes, or
// nothing when there is none.
std::optional<std::pair<platform::DWORD, std::vector<uint8_t>>> SavedValue(platform::HKEY root) {
  platform::HKEY key = nullptr;
  if (platform::RegOpenKeyExW(root, kRegistrySubkey, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return std::nullopt;
  }
  platform::DWORD type = 0;
  std::vector<uint8_t> bytes(64);
  auto size = static_cast<platform::DWORD>(bytes.size());
  const platform::LSTATUS status =
      platform::RegQueryValueExW(key, kRegistryValue, nullptr, &type, bytes.data(), &size);
  platform::RegCloseKey(key);
  if (status != platform::ERROR_SUCCESS) return std::nullopt;
  bytes.resize(size);
  return std::make_pair(type, bytes);
}

// True when the saved value is the hotkey as a REG_DWORD.
bool HoldsHotkey(const std::optional<std::pair<platform::DWORD, std::vector<uint8_t>>>& value,
                 int32_t hotkey) {
  const auto code = static_cast<uint32_t>(hotkey);
  const std::vector<uint8_t> bytes = {static_cast<uint8_t>(code), static_cast<uint8_t>(code >> 8),
                                      static_cast<uint8_t>(code >> 16),
                                      static_cast<uint8_t>(code >> 24)};
  return value && value->first == platform::REG_DWORD && value->second == bytes;
}

// Standard error holds whole messages: it begins with the plug-in's prefix
// and ends in CR LF. Every line of it begins with the prefix or is the
// indented system text that follows a refused save, unless the argument text
// itself holds a line break, which a message that quotes an argument repeats.
void CheckErrors(const std::u16string& errors, bool argumentsBreakLines) {
  if (errors.empty()) return;
  Check(errors.rfind(u"Marivex plugin: ", 0) == 0, "an error message lacks the prefix");
  Check(errors.size() >= 2 && errors.compare(errors.size() - 2, 2, u"\r\n") == 0,
        "an error message does not end in CR LF");
  if (argumentsBreakLines) return;
  size_t start = 0;
  while (start < errors.size()) {
    const size_t end = errors.find(u"\r\n", start);
    Check(end != std::u16string::npos, "an error message does not end in CR LF");
    const std::u16string line = errors.substr(start, end - start);
    Check(line.rfind(u"Marivex plugin: ", 0) == 0 || line.rfind(u"    ", 0) == 0,
          "an error message lacks the prefix");
    start = end + 2;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing_support::PrepareHost();
  testing_support::Input input(data, size);
  const uint8_t flags = input.Byte();
  testing_support::ClearRegistry();
  standin::SetRegistryReadOnly(platform::HKEY_LOCAL_MACHINE, false);
  if ((flags & kSavedInCurrentUser) != 0) SaveValue(platform::HKEY_CURRENT_USER, input);
  if ((flags & kSavedInLocalMachine) != 0) SaveValue(platform::HKEY_LOCAL_MACHINE, input);
  standin::SetRegistryReadOnly(platform::HKEY_LOCAL_MACHINE, (flags & kLocalMachineReadOnly) != 0);
  extendedKeys = (flags & kExtendedScheme) != 0 ? 1 : 0;
  currentHotkey = (flags & kStartWithoutHotkey) != 0  ? 0
                  : (flags & kStartWithCtrlAltK) != 0 ? ParseKeyName(u"Ctrl-Alt-K")
                                                      : DEFAULT_HOTKEY;
  std::u16string text = input.PaddedText(2 * MAX_ARG_LEN);
  // Appended where the command reads it: before any U+0000, and among
  // fewer than MAX_ARGS arguments (each takes two characters or more).
  const bool appendsSave = (flags & kAppendQuietSave) != 0 &&
                           text.find(u'\0') == std::u16string::npos &&
                           text.size() < kLongestTextForAppendedSave;
  if (appendsSave) text += (flags & kSaveForTheMachine) != 0 ? u" /Q /S!" : u" /Q /S";

  static testing_support::GuardedBuffer buffer(2 * MAX_ARG_LEN + 8);
  buffer.Load(text);
  static std::vector<char16_t> before;
  before.assign(buffer.Data(), buffer.Data() + buffer.Capacity());
  const int32_t hotkeyBefore = currentHotkey;
  const auto userBefore = SavedValue(platform::HKEY_CURRENT_USER);
  const auto machineBefore = SavedValue(platform::HKEY_LOCAL_MACHINE);
  testing_support::Output output;
  testing_support::CaptureOutput(&output);
  const int code = marivexkey(buffer.Data());
  testing_support::CaptureOutput(nullptr);
  const auto userAfter = SavedValue(platform::HKEY_CURRENT_USER);
  const auto machineAfter = SavedValue(platform::HKEY_LOCAL_MACHINE);

  CheckGuard(buffer, "MARIVEXKEY wrote past its argument text");
  Check(std::memcmp(buffer.Data(), before.data(), before.size() * sizeof(char16_t)) == 0,
        "MARIVEXKEY changed its argument text");
  Check(code >= 0 && code <= 2, "MARIVEXKEY gave an exit code other than 0, 1 or 2");
  Check(currentHotkey == 0 || IsAcceptableHotkey(currentHotkey),
        "the hotkey in force is no code of the active key table");
  CheckErrors(output.err, text.find_first_of(u"\r\n") != std::u16string::npos);
  Check(code == 0 || !output.err.empty(), "MARIVEXKEY failed without a message");
  if (code == 1) {
    Check(currentHotkey == hotkeyBefore, "a refused MARIVEXKEY changed the hotkey");
    Check(userAfter == userBefore && machineAfter == machineBefore,
          "a refused MARIVEXKEY changed a saved value");
    return 0;
  }
  Check(userAfter == userBefore || HoldsHotkey(userAfter, currentHotkey),
        "HKCU changed to something other than the hotkey in force");
  Check(machineAfter == machineBefore || HoldsHotkey(machineAfter, currentHotkey),
        "HKLM changed to something other than the hotkey in force");
  if (output.out.find(u"Settings saved to the registry (HKCU") != std::u16string::npos) {
    Check(HoldsHotkey(userAfter, currentHotkey), "HKCU does not hold the saved hotkey");
  }
  if (output.out.find(u"Settings saved to the registry (HKLM") != std::u16string::npos) {
    Check(HoldsHotkey(machineAfter, currentHotkey), "HKLM does not hold the saved hotkey");
  }
  if (appendsSave && code == 0 && output.out.empty()) {
    Check(HoldsHotkey((flags & kSaveForTheMachine) != 0 ? machineAfter : userAfter, currentHotkey),
          "a quiet save did not store the hotkey in force");
  }
  return 0;
}
