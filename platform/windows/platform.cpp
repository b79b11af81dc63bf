// The Windows half of the platform layer: every call forwards to Win32.
//
// platform.h comes first because <windows.h> defines macros with the same
// names as its constants; this file therefore never names those constants.
#include "platform/platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>
#include <shlwapi.h>

#include <cstdio>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is 16 bits wide");
static_assert(sizeof(::DWORD) == sizeof(platform::DWORD), "DWORD is 32 bits");

namespace {

const wchar_t* Wide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}
wchar_t* Wide(char16_t* text) {
  return reinterpret_cast<wchar_t*>(text);
}
::HKEY Key(platform::HKEY key) {
  return reinterpret_cast<::HKEY>(key);
}
::DWORD* Dword(platform::DWORD* value) {
  return reinterpret_cast<::DWORD*>(value);
}

}  // namespace

namespace platform {

BOOL GetStringTypeW(DWORD infoType, const char16_t* source, int length, WORD* charTypes) {
  return ::GetStringTypeW(infoType, Wide(source), length, charTypes);
}

HRESULT UrlCreateFromPathW(const char16_t* path, char16_t* url, DWORD* urlLength, DWORD reserved) {
  return ::UrlCreateFromPathW(Wide(path), Wide(url), Dword(urlLength), reserved);
}

HRESULT PathCreateFromUrlW(const char16_t* url, char16_t* path, DWORD* pathLength, DWORD flags) {
  return ::PathCreateFromUrlW(Wide(url), Wide(path), Dword(pathLength), flags);
}

DWORD FormatMessageW(DWORD flags, const void* source, DWORD messageId, DWORD languageId,
                     char16_t* buffer, DWORD size, va_list* arguments) {
  return ::FormatMessageW(flags, source, messageId, languageId, Wide(buffer), size, arguments);
}

int wsprintfW(char16_t* buffer, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written = ::wvsprintfW(Wide(buffer), Wide(format), arguments);
  va_end(arguments);
  return written;
}

HANDLE GetStdHandle(DWORD stdHandle) {
  return ::GetStdHandle(stdHandle);
}

LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options, REGSAM desired,
                      HKEY* result) {
  return ::RegOpenKeyExW(Key(key), Wide(subKey), options, desired,
                         reinterpret_cast<::HKEY*>(result));
}

LSTATUS RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                         uint8_t* data, DWORD* dataSize) {
  return ::RegQueryValueExW(Key(key), Wide(valueName), Dword(reserved), Dword(type), data,
                            Dword(dataSize));
}

LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved, char16_t* className,
                        DWORD options, REGSAM desired, const void* securityAttributes, HKEY* result,
                        DWORD* disposition) {
  return ::RegCreateKeyExW(
      Key(key), Wide(subKey), reserved, Wide(className), options, desired,
      static_cast<LPSECURITY_ATTRIBUTES>(const_cast<void*>(securityAttributes)),
      reinterpret_cast<::HKEY*>(result), Dword(disposition));
}

LSTATUS RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved, DWORD type,
                       const uint8_t* data, DWORD dataSize) {
  return ::RegSetValueExW(Key(key), Wide(valueName), reserved, type, data, dataSize);
}

LSTATUS RegCloseKey(HKEY key) {
  return ::RegCloseKey(Key(key));
}

SHORT GetAsyncKeyState(int virtualKey) {
  return ::GetAsyncKeyState(virtualKey);
}

BOOL PlaySoundW(const char16_t* sound, HMODULE module, DWORD flags) {
  return ::PlaySoundW(Wide(sound), reinterpret_cast<::HMODULE>(module), flags);
}

int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) {
  return ::MessageBoxW(reinterpret_cast<::HWND>(owner), Wide(text), Wide(caption), type);
}

HWND GetForegroundWindow() {
  return reinterpret_cast<HWND>(::GetForegroundWindow());
}

}  // namespace platform
