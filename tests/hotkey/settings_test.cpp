// Loading the hotkey setting; MARIVEXKEY's tests save it under either root.
#include "hotkey/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fixtures/scratch_registry.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

constexpr int32_t kUntouched = 0x1003b;  // F1, in force before each load

std::vector<uint8_t> Bytes(uint64_t value, size_t count) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return bytes;
}

class SettingsTest : public ::testing::Test {
 protected:
  testing_support::ScratchRegistry registry;

 private:
  testing_support::KeyGlobalsGuard guard_;
};

TEST_F(SettingsTest, LoadAcceptsOnlyDwordCodesOfTheActiveScheme) {
  // "327702", the default's code in decimal, as a string value holds it.
  static const std::vector<uint8_t> kDefaultInDecimal = {'3', 0,   '2', 0,   '7', 0, '7',
                                                         0,   '0', 0,   '2', 0,   0, 0};
  static const struct {
    const char* what;
    platform::DWORD type;
    std::vector<uint8_t> data;
    int32_t extended;
    int32_t result;
    int32_t hotkey;  // in force afterwards
  } kCases[] = {
      {"the default", platform::REG_DWORD, Bytes(0x50016, 4), 1, 0, 0x50016},
      {"zero is no hotkey", platform::REG_DWORD, Bytes(0, 4), 0, 0, 0},
      {"F12", platform::REG_DWORD, Bytes(0x10086, 4), 0, 0, 0x10086},
      {"Ctrl-A", platform::REG_DWORD, Bytes(0x1, 4), 1, 0, 0x1},
      {"digits as text", platform::REG_SZ, kDefaultInDecimal, 1, 1, kUntouched},
      {"a QWORD", platform::REG_QWORD, Bytes(0x50016, 8), 1, 1, kUntouched},
      {"binary", platform::REG_BINARY, Bytes(0x50016, 4), 1, 1, kUntouched},
      {"a two-byte DWORD", platform::REG_DWORD, Bytes(0x0016, 2), 1, 1, kUntouched},
      {"an eight-byte DWORD", platform::REG_DWORD, Bytes(0x50016, 8), 1, 1, kUntouched},
      {"a negative code", platform::REG_DWORD, Bytes(0x80050016u, 4), 1, 1, kUntouched},
      {"all bits set", platform::REG_DWORD, Bytes(0xFFFFFFFFu, 4), 0, 1, kUntouched},
      {"a code no table has", platform::REG_DWORD, Bytes(0x12345, 4), 1, 1, kUntouched},
      {"extended only, classic", platform::REG_DWORD, Bytes(0x70016, 4), 0, 1, kUntouched},
      {"extended only, extended", platform::REG_DWORD, Bytes(0x70016, 4), 1, 0, 0x70016},
      {"classic only, extended", platform::REG_DWORD, Bytes(0x10082, 4), 1, 1, kUntouched},
      {"classic only, classic", platform::REG_DWORD, Bytes(0x10082, 4), 0, 0, 0x10082},
      {"the shared Num code, classic", platform::REG_DWORD, Bytes(0x3004a, 4), 0, 0, 0x3004a},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.what);
    testing_support::ScratchRegistry scratch;
    scratch.Write(HKEY_CURRENT_USER, row.type, row.data);
    extendedKeys = row.extended;
    currentHotkey = kUntouched;
    EXPECT_EQ(LoadSettings(HKEY_CURRENT_USER), row.result);
    EXPECT_EQ(currentHotkey, row.hotkey);
  }
}

TEST_F(SettingsTest, LoadFindsNothingWithoutKeyOrValue) {
  currentHotkey = kUntouched;
  EXPECT_EQ(LoadSettings(HKEY_CURRENT_USER), 1);
  // The key alone, without the value.
  platform::HKEY key = nullptr;
  ASSERT_EQ(
      platform::RegCreateKeyExW(HKEY_CURRENT_USER, kRegistrySubkey, 0, nullptr, 0,
                                platform::KEY_READ | platform::KEY_WRITE, nullptr, &key, nullptr),
      platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
  EXPECT_EQ(LoadSettings(HKEY_CURRENT_USER), 1);
  EXPECT_EQ(currentHotkey, kUntouched);
}

}  // namespace
