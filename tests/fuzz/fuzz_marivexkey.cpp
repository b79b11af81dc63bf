// The MARIVEXKEY command on any argument text, with any saved setting in a
// registry of its own: the exit code is 0, 1 or 2, the hotkey in force stays
// 0 or a code of the active key table, every error carries the prefix, the
// argument text is not changed, and a reported save is in the registry.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "hotkey/hostversion.h"
#include "hotkey/keynames.h"
#include "hotkey/settings.h"
#include "platform/posix/standin.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using fuzzing::Check;

constexpr uint8_t kExtendedScheme = 1;
constexpr uint8_t kSavedInCurrentUser = 2;
constexpr uint8_t kSavedInLocalMachine = 4;
constexpr uint8_t kLocalMachineReadOnly = 8;

// Stores the hotkey value with any type and up to eight bytes of data.
void SaveValue(platform::HKEY root, fuzzing::Input& input) {
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

// The saved hotkey under root, or -1 when there is no REG_DWORD of four bytes.
int64_t SavedHotkey(platform::HKEY root) {
  platform::HKEY key = nullptr;
  if (platform::RegOpenKeyExW(root, kRegistrySubkey, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return -1;
  }
  platform::DWORD type = 0;
  uint8_t bytes[4] = {};
  platform::DWORD size = sizeof(bytes);
  const platform::LSTATUS status =
      platform::RegQueryValueExW(key, kRegistryValue, nullptr, &type, bytes, &size);
  platform::RegCloseKey(key);
  if (status != platform::ERROR_SUCCESS || type != platform::REG_DWORD || size != 4) return -1;
  return static_cast<int32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                              (static_cast<uint32_t>(bytes[3]) << 24));
}

// Every line of standard error begins with the plug-in's prefix, or is the
// indented system text that follows a refused save.
void CheckErrors(const std::u16string& errors) {
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
  fuzzing::PrepareHost();
  fuzzing::Input input(data, size);
  const uint8_t flags = input.Byte();
  fuzzing::ClearRegistry();
  standin::SetRegistryReadOnly(platform::HKEY_LOCAL_MACHINE, false);
  if ((flags & kSavedInCurrentUser) != 0) SaveValue(platform::HKEY_CURRENT_USER, input);
  if ((flags & kSavedInLocalMachine) != 0) SaveValue(platform::HKEY_LOCAL_MACHINE, input);
  standin::SetRegistryReadOnly(platform::HKEY_LOCAL_MACHINE, (flags & kLocalMachineReadOnly) != 0);
  extendedKeys = (flags & kExtendedScheme) != 0 ? 1 : 0;
  currentHotkey = DEFAULT_HOTKEY;
  const std::u16string text = input.PaddedText(2 * MAX_ARG_LEN);

  static fuzzing::GuardedBuffer buffer(2 * MAX_ARG_LEN + 1);
  buffer.Load(text);
  static std::vector<char16_t> before;
  before.assign(buffer.Data(), buffer.Data() + buffer.Capacity());
  fuzzing::Output output;
  fuzzing::CaptureOutput(&output);
  const int code = marivexkey(buffer.Data());
  fuzzing::CaptureOutput(nullptr);

  buffer.CheckGuard("MARIVEXKEY wrote past its argument text");
  Check(std::memcmp(buffer.Data(), before.data(), before.size() * sizeof(char16_t)) == 0,
        "MARIVEXKEY changed its argument text");
  Check(code >= 0 && code <= 2, "MARIVEXKEY gave an exit code other than 0, 1 or 2");
  Check(currentHotkey == 0 || IsAcceptableHotkey(currentHotkey),
        "the hotkey in force is no code of the active key table");
  CheckErrors(output.err);
  Check(code == 0 || !output.err.empty(), "MARIVEXKEY failed without a message");
  if (output.out.find(u"Settings saved to the registry (HKCU") != std::u16string::npos) {
    Check(SavedHotkey(platform::HKEY_CURRENT_USER) == currentHotkey,
          "HKCU does not hold the saved hotkey");
  }
  if (output.out.find(u"Settings saved to the registry (HKLM") != std::u16string::npos) {
    Check(SavedHotkey(platform::HKEY_LOCAL_MACHINE) == currentHotkey,
          "HKLM does not hold the saved hotkey");
  }
  return 0;
}
