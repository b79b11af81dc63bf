// An empty registry for each test, in both builds: natively the stand-in's
// two roots live in files of a fresh temporary folder; under Wine the test's
// key is deleted from both roots before and after.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32_extras.h"

namespace testing_support {

// A DWORD's bytes as the registry stores them, lowest first.
inline std::vector<uint8_t> DwordBytes(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

struct RegistryValue {
  platform::DWORD type;
  std::vector<uint8_t> data;
};

class ScratchRegistry {
 public:
  // `testKey` is the key under which the test writes, relative to either root.
  explicit ScratchRegistry(const char16_t* testKey = u"Software\\RUDadurad");
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  // Stores the hotkey value under root with any type and bytes.
  void Write(platform::HKEY root, platform::DWORD type, std::vector<uint8_t> data);
  void WriteDword(platform::HKEY root, uint32_t value);
  // The hotkey value under root, if there is one.
  std::optional<RegistryValue> Read(platform::HKEY root);

#if !defined(_WIN32)
  // Makes root refuse every change with ERROR_ACCESS_DENIED, as only the
  // native stand-in can be told to.
  void RefuseWrites(platform::HKEY root);
  const std::filesystem::path& Folder() const {
    return folder_;
  }
  std::string File(platform::HKEY root) const;
#endif

 private:
#if defined(_WIN32)
  const char16_t* testKey_;
#else
  std::filesystem::path folder_;
#endif
};

}  // namespace testing_support
