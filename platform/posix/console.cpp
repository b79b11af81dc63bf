// Stand-in for the standard handles.
#include "platform/posix/win32_extras.h"

namespace platform {

namespace {

// Distinct, non-null values; the stand-in host maps them to its two streams.
HANDLE const kStdOutput = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1001));
HANDLE const kStdError = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1002));
HANDLE const kInvalidHandle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

}  // namespace

HANDLE GetStdHandle(DWORD stdHandle) {
  if (stdHandle == STD_OUTPUT_HANDLE) return kStdOutput;
  if (stdHandle == STD_ERROR_HANDLE) return kStdError;
  return kInvalidHandle;
}

}  // namespace platform
