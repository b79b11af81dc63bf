#include "hotkey/settings.h"

#include "hotkey/key_names.h"

namespace {

constexpr platform::DWORD kDwordSize = 4;

int32_t FromLittleEndian(const uint8_t (&bytes)[kDwordSize]) {
  const uint32_t value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                         (static_cast<uint32_t>(bytes[2]) << 16) |
                         (static_cast<uint32_t>(bytes[3]) << 24);
  return static_cast<int32_t>(value);
}

}  // namespace

// The reported type and the data word decide, not the query's status: a
// missing value leaves the type at REG_NONE, and a REG_DWORD of two bytes
// leaves the upper half of the preset word at 0xFFFF, a negative code. A
// REG_DWORD longer than four bytes does not fit the word at all and is
// rejected rather than read from whatever the word then holds. 0 (no
// hotkey) is taken without a table check.
int32_t LoadSettings(platform::HKEY root) {
  platform::HKEY key = nullptr;
  if (platform::RegOpenKeyExW(root, kRegistrySubkey, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return 1;
  }
  platform::DWORD type = platform::REG_NONE;
  uint8_t data[kDwordSize] = {0xFF, 0xFF, 0xFF, 0xFF};
  platform::DWORD size = kDwordSize;
  const platform::LSTATUS status =
      platform::RegQueryValueExW(key, kRegistryValue, nullptr, &type, data, &size);
  const bool tooLong = status == platform::ERROR_MORE_DATA || size > kDwordSize;
  int32_t result = 1;
  if (type == platform::REG_DWORD && !tooLong) {
    const int32_t candidate = FromLittleEndian(data);
    if (candidate == 0 || IsAcceptableHotkey(candidate)) {
      currentHotkey = candidate;
      result = 0;
    }
  }
  platform::RegCloseKey(key);
  return result;
}

int32_t SaveSettings(platform::HKEY root) {
  platform::HKEY key = nullptr;
  const platform::LSTATUS created = platform::RegCreateKeyExW(
      root, kRegistrySubkey, 0, nullptr, platform::REG_OPTION_NON_VOLATILE,
      platform::KEY_READ | platform::KEY_WRITE, nullptr, &key, nullptr);
  if (created != platform::ERROR_SUCCESS) return created;
  const auto value = static_cast<uint32_t>(currentHotkey);
  const uint8_t data[kDwordSize] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                    static_cast<uint8_t>(value >> 16),
                                    static_cast<uint8_t>(value >> 24)};
  const platform::LSTATUS written =
      platform::RegSetValueExW(key, kRegistryValue, 0, platform::REG_DWORD, data, kDwordSize);
  platform::RegCloseKey(key);
  return written;
}
