// The registry tests' fixture and helpers, for both builds: a scratch
// registry (natively fresh files, under Wine the real registry with the test
// key deleted before and after) and the calls as the plug-in makes them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "tests/fixtures/scratch_registry.h"

namespace testing_support {

using platform::DWORD;
using platform::HKEY;
using platform::LSTATUS;

inline constexpr const char16_t* kTestKey = u"Software\\MarivexTest\\Registry";

// A text's UTF-16 code units as the registry stores them, lowest byte first.
inline std::vector<uint8_t> Utf16Bytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (const char16_t c : text) {
    bytes.insert(bytes.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  }
  return bytes;
}

class RegistryTest : public ::testing::Test {
 protected:
  // Creates (or opens) a key for reading and writing; null on failure.
  static HKEY Create(HKEY root, const char16_t* path) {
    HKEY key = nullptr;
    const LSTATUS status =
        platform::RegCreateKeyExW(root, path, 0, nullptr, platform::REG_OPTION_NON_VOLATILE,
                                  platform::KEY_READ | platform::KEY_WRITE, nullptr, &key, nullptr);
    EXPECT_EQ(status, platform::ERROR_SUCCESS) << "creating the key";
    return status == platform::ERROR_SUCCESS ? key : nullptr;
  }

  static LSTATUS Set(HKEY key, const char16_t* name, DWORD type, std::vector<uint8_t> data) {
    return platform::RegSetValueExW(key, name, 0, type, data.data(),
                                    static_cast<DWORD>(data.size()));
  }

  static LSTATUS SetDword(HKEY key, const char16_t* name, uint32_t value) {
    return Set(key, name, platform::REG_DWORD, DwordBytes(value));
  }

  // A value's data, or nothing when it cannot be read; `type` gets its type.
  static std::optional<std::vector<uint8_t>> Query(HKEY key, const char16_t* name,
                                                   DWORD* type = nullptr) {
    std::vector<uint8_t> data(1 << 16);
    auto size = static_cast<DWORD>(data.size());
    if (platform::RegQueryValueExW(key, name, nullptr, type, data.data(), &size) !=
        platform::ERROR_SUCCESS) {
      return std::nullopt;
    }
    data.resize(size);
    return data;
  }

  // A value's data from the test key under a root, read as the plug-in reads
  // its setting: open the key, query, close.
  static std::optional<std::vector<uint8_t>> QueryTestKey(HKEY root, const char16_t* name) {
    HKEY key = nullptr;
    if (platform::RegOpenKeyExW(root, kTestKey, 0, platform::KEY_READ, &key) !=
        platform::ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> data = Query(key, name);
    platform::RegCloseKey(key);
    return data;
  }

  ScratchRegistry scratch{u"Software\\MarivexTest"};
};

}  // namespace testing_support
