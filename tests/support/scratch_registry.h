// An empty registry for each test, in both builds: natively the stand-in's
// two roots live in files of a fresh temporary folder; under Wine the
// plug-in's key is deleted from both roots before and after.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace testing_support {

struct RegistryValue {
  platform::DWORD type;
  std::vector<uint8_t> data;
};

class ScratchRegistry {
 public:
  ScratchRegistry();
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  // Stores the hotkey value under root with any type and bytes.
  void Write(platform::HKEY root, platform::DWORD type, std::vector<uint8_t> data);
  void WriteDword(platform::HKEY root, uint32_t value);
  // The hotkey value under root, if there is one.
  std::optional<RegistryValue> Read(platform::HKEY root);
  // Makes root refuse every change with ERROR_ACCESS_DENIED. Only the native
  // stand-in can be told to; returns false where it cannot.
  bool RefuseWrites(platform::HKEY root);

 private:
  void Clear();
  std::filesystem::path folder_;
};

}  // namespace testing_support
