#include "tests/support/scratch_registry.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <stdlib.h>

#include "platform/posix/standin.h"
#endif

#include "hotkey/settings.h"

namespace testing_support {

#if defined(_WIN32)
// In a file of its own: <windows.h> defines macros named as the platform
// layer's constants.
void DeleteTestKey(const char16_t* testKey);

ScratchRegistry::ScratchRegistry(const char16_t* testKey) : testKey_(testKey) {
  DeleteTestKey(testKey_);
}

ScratchRegistry::~ScratchRegistry() {
  DeleteTestKey(testKey_);
}
#else
ScratchRegistry::ScratchRegistry(const char16_t* /*testKey*/) {
  std::string pattern = std::filesystem::temp_directory_path() / "marivex-registry-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
  folder_ = pattern;
  for (const platform::HKEY root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
    standin::SetRegistryFile(root, File(root));
    standin::SetRegistryReadOnly(root, false);
  }
}

ScratchRegistry::~ScratchRegistry() {
  for (const platform::HKEY root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
    standin::SetRegistryFile(root, "");
    standin::SetRegistryReadOnly(root, false);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void ScratchRegistry::RefuseWrites(platform::HKEY root) {
  standin::SetRegistryReadOnly(root, true);
}

std::string ScratchRegistry::File(platform::HKEY root) const {
  return folder_ / (root == platform::HKEY_CURRENT_USER ? "HKCU.reg" : "HKLM.reg");
}
#endif

void ScratchRegistry::Write(platform::HKEY root, platform::DWORD type, std::vector<uint8_t> data) {
  platform::HKEY key = nullptr;
  ASSERT_EQ(
      platform::RegCreateKeyExW(root, kRegistrySubkey, 0, nullptr, 0,
                                platform::KEY_READ | platform::KEY_WRITE, nullptr, &key, nullptr),
      platform::ERROR_SUCCESS);
  EXPECT_EQ(platform::RegSetValueExW(key, kRegistryValue, 0, type, data.data(),
                                     static_cast<platform::DWORD>(data.size())),
            platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
}

void ScratchRegistry::WriteDword(platform::HKEY root, uint32_t value) {
  Write(root, platform::REG_DWORD, DwordBytes(value));
}

std::optional<RegistryValue> ScratchRegistry::Read(platform::HKEY root) {
  platform::HKEY key = nullptr;
  if (platform::RegOpenKeyExW(root, kRegistrySubkey, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryValue value{platform::REG_NONE, std::vector<uint8_t>(64)};
  platform::DWORD size = static_cast<platform::DWORD>(value.data.size());
  const platform::LSTATUS status = platform::RegQueryValueExW(
      key, kRegistryValue, nullptr, &value.type, value.data.data(), &size);
  platform::RegCloseKey(key);
  if (status != platform::ERROR_SUCCESS) return std::nullopt;
  value.data.resize(size);
  return value;
}

}  // namespace testing_support
