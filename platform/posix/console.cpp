// Stand-ins for the standard handles and wsprintfW.
#include <cstring>

#include "platform/platform.h"
#include "support/format.h"

namespace platform {

namespace {

// Distinct, non-null values; the stand-in host maps them to its two streams.
HANDLE const kStdOutput = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1001));
HANDLE const kStdError = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1002));
HANDLE const kInvalidHandle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// wsprintfW never writes more than 1,024 characters, the terminator included.
constexpr size_t kWsprintfCapacity = 1024;

}  // namespace

HANDLE GetStdHandle(DWORD stdHandle) {
  if (stdHandle == STD_OUTPUT_HANDLE) return kStdOutput;
  if (stdHandle == STD_ERROR_HANDLE) return kStdError;
  return kInvalidHandle;
}

int wsprintfW(char16_t* buffer, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = support::FormatWide(format, arguments);
  va_end(arguments);
  const size_t length = text.size() < kWsprintfCapacity ? text.size() : kWsprintfCapacity - 1;
  std::memcpy(buffer, text.data(), length * sizeof(char16_t));
  buffer[length] = u'\0';
  return static_cast<int>(length);
}

}  // namespace platform
