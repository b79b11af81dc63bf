#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "base/text.h"
#include "host/takecmd.h"
#include "platform/posix/standin.h"

namespace testing_support {

uint8_t Input::Byte() {
  if (size_ == 0) return 0;
  const uint8_t value = *data_;
  ++data_;
  --size_;
  return value;
}

uint16_t Input::Word() {
  const uint16_t low = Byte();
  return static_cast<uint16_t>(low | (Byte() << 8));
}

uint32_t Input::Dword() {
  const uint32_t low = Word();
  return low | (static_cast<uint32_t>(Word()) << 16);
}

std::u16string Input::Text(size_t maxLength) {
  std::u16string text;
  while (text.size() < maxLength && size_ >= 2) text.push_back(static_cast<char16_t>(Word()));
  return text;
}

std::u16string Input::PaddedText(size_t maxLength) {
  if (Byte() != kPaddingMark) return Text(maxLength);
  const size_t count = Word() % (std::min<size_t>(maxLength, 0xFFFF) + 1);
  const auto fill = static_cast<char16_t>(Word());
  std::u16string text(count, fill);
  return text + Text(maxLength - text.size());
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "property violated: %s\n", what);
  std::abort();
}

void CheckGuard(const GuardedBuffer& buffer, const char* what) {
  Check(buffer.GuardIntact(), what);
}

size_t TerminatedLength(const GuardedBuffer& buffer, const char* what) {
  const std::optional<size_t> length = buffer.TextLength();
  Check(length.has_value(), what);
  return length.value_or(buffer.Capacity());
}

void Reload(GuardedBuffer& buffer, std::u16string_view text) {
  const size_t length = std::min(text.size(), buffer.Capacity());
  std::copy_n(text.begin(), length, buffer.Data());
  if (length < buffer.Capacity()) buffer.Data()[length] = u'\0';
}

namespace {

std::filesystem::path registryFolder;
Output* capture = nullptr;

void RemoveRegistryFolder() {
  std::error_code ignored;
  if (!registryFolder.empty()) std::filesystem::remove_all(registryFolder, ignored);
}

void Collect(int stream, const char16_t* text, size_t length, void*) {
  if (capture == nullptr) return;
  (stream == HOST_STDERR ? capture->err : capture->out).append(text, length);
}

}  // namespace

FunctionArgument ReadFunctionArgument(Input& input) {
  const bool terminated = (input.Byte() & 1) == 0;
  return {input.PaddedText(MAX_ARG_LEN), terminated};
}

void PrepareHost() {
  if (!registryFolder.empty()) return;
  // Memory-backed where there is such a folder: saves flush their files.
  const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                         ? "/dev/shm"
                                         : std::filesystem::temp_directory_path();
  std::string folder = (base / "marivex-fuzz-XXXXXX").string();
  Check(mkdtemp(folder.data()) != nullptr, "cannot make a temporary folder");
  registryFolder = folder;
  std::atexit(RemoveRegistryFolder);
  standin::SetRegistryFile(platform::HKEY_CURRENT_USER, (registryFolder / "HKCU.reg").string());
  standin::SetRegistryFile(platform::HKEY_LOCAL_MACHINE, (registryFolder / "HKLM.reg").string());
  standin::SetRegistryReadOnly(platform::HKEY_CURRENT_USER, false);
  standin::SetRegistryReadOnly(platform::HKEY_LOCAL_MACHINE, false);
  standin::SetMessageBoxHandler([](const char16_t*, const char16_t*, platform::UINT) { return 1; });
  standin::SetSoundHandler(nullptr);
  HostSetOutputSink(&Collect, nullptr);
  HostReset();
}

void ClearRegistry() {
  std::error_code ignored;
  std::filesystem::remove(registryFolder / "HKCU.reg", ignored);
  std::filesystem::remove(registryFolder / "HKLM.reg", ignored);
}

void CaptureOutput(Output* output) {
  capture = output;
}

}  // namespace testing_support
