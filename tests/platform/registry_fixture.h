// The registry tests' fixture and helpers, for both builds.
//
// Natively each test gets its own temporary directory holding the files of
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE. Under Wine the tests use Wine's
// real registry, under a test key of HKEY_CURRENT_USER. Either way the test
// key is deleted before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

#if !defined(_WIN32)
#include <stdlib.h>

#include <filesystem>

#include "platform/posix/standin.h"
#endif

namespace registry_testing {

using platform::DWORD;
using platform::HKEY;
using platform::LSTATUS;

inline constexpr const char16_t* kTestKey = u"Software\\MarivexTest\\Registry";
inline constexpr const char16_t* kTestParent = u"Software\\MarivexTest";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
#if !defined(_WIN32)
    std::string pattern = (std::filesystem::temp_directory_path() / "marivex-registry-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory = pattern;
    standin::SetRegistryFile(platform::HKEY_CURRENT_USER, directory + "/HKCU.registry");
    standin::SetRegistryFile(platform::HKEY_LOCAL_MACHINE, directory + "/HKLM.registry");
#endif
    platform::RegDeleteTreeW(platform::HKEY_CURRENT_USER, kTestParent);
  }

  void TearDown() override {
    platform::RegDeleteTreeW(platform::HKEY_CURRENT_USER, kTestParent);
#if !defined(_WIN32)
    for (HKEY root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
      standin::SetRegistryFile(root, "");
      standin::SetRegistryReadOnly(root, false);
    }
    standin::SetRegistrySaveHook(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
#endif
  }

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
    return Set(key, name, platform::REG_DWORD,
               {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
  }

  // A value's data, or nothing when it cannot be read.
  static std::optional<std::vector<uint8_t>> Query(HKEY key, const char16_t* name) {
    std::vector<uint8_t> data(1 << 20);
    auto size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (platform::RegQueryValueExW(key, name, nullptr, &type, data.data(), &size) !=
        platform::ERROR_SUCCESS) {
      return std::nullopt;
    }
    data.resize(size);
    return data;
  }

  // A value of the test key under a root, read as the plug-in reads its
  // setting: open the key, query, close.
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

#if !defined(_WIN32)
  std::string directory;
#endif
};

}  // namespace registry_testing
