#include "tests/support/scratch_registry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "hotkey/settings.h"

#if !defined(_WIN32)
#include "platform/posix/standin.h"
#endif

namespace testing_support {

namespace {

// The parent of the plug-in's key, removed whole so that tests also see the
// intermediate key being created.
constexpr const char16_t* kVendorKey = u"Software\\RUDadurad";

}  // namespace

ScratchRegistry::ScratchRegistry() {
#if !defined(_WIN32)
  std::random_device random;
  folder_ = std::filesystem::temp_directory_path() /
            ("marivex-registry-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(folder_);
  standin::SetRegistryFile(platform::HKEY_CURRENT_USER, (folder_ / "HKCU.registry").string());
  standin::SetRegistryFile(platform::HKEY_LOCAL_MACHINE, (folder_ / "HKLM.registry").string());
  standin::SetRegistryReadOnly(platform::HKEY_CURRENT_USER, false);
  standin::SetRegistryReadOnly(platform::HKEY_LOCAL_MACHINE, false);
#endif
  Clear();
}

ScratchRegistry::~ScratchRegistry() {
  Clear();
#if !defined(_WIN32)
  standin::SetRegistryReadOnly(platform::HKEY_CURRENT_USER, false);
  standin::SetRegistryReadOnly(platform::HKEY_LOCAL_MACHINE, false);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
#endif
}

void ScratchRegistry::Clear() {
  for (const platform::HKEY root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
    platform::RegDeleteTreeW(root, kVendorKey);
  }
}

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
  Write(root, platform::REG_DWORD,
        {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
         static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
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

bool ScratchRegistry::RefuseWrites(platform::HKEY root) {
#if !defined(_WIN32)
  standin::SetRegistryReadOnly(root, true);
  return true;
#else
  (void)root;
  return false;
#endif
}

}  // namespace testing_support
