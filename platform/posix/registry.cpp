// Stand-in for the registry. Not yet written: no key exists and none can be made.
#include "platform/platform.h"

namespace platform {

LSTATUS RegOpenKeyExW(HKEY, const char16_t*, DWORD, REGSAM, HKEY*) { return ERROR_FILE_NOT_FOUND; }
LSTATUS RegQueryValueExW(HKEY, const char16_t*, DWORD*, DWORD*, uint8_t*, DWORD*) {
  return ERROR_INVALID_HANDLE;
}
LSTATUS RegCreateKeyExW(HKEY, const char16_t*, DWORD, char16_t*, DWORD, REGSAM, const void*,
                        HKEY*, DWORD*) {
  return ERROR_ACCESS_DENIED;
}
LSTATUS RegSetValueExW(HKEY, const char16_t*, DWORD, DWORD, const uint8_t*, DWORD) {
  return ERROR_INVALID_HANDLE;
}
LSTATUS RegCloseKey(HKEY) { return ERROR_INVALID_HANDLE; }
LSTATUS RegDeleteTreeW(HKEY, const char16_t*) { return ERROR_FILE_NOT_FOUND; }

}  // namespace platform
