// Every Win32 call the plug-in makes, in Win32's own names and argument order,
// and the constants the plug-in passes to them or tests their results for.
// What only the stand-ins and tests need is in platform/posix/win32_extras.h.
//
// The Windows build forwards each call to the real API (platform/windows); the
// native build answers it with a stand-in that behaves like Windows wherever the
// plug-in can tell (platform/posix). Plug-in code includes only this header and
// never learns which half it runs on.
//
// Text is UTF-16 throughout: char16_t here, cast to wchar_t at the Win32
// boundary, where both are 16 bits wide.
#pragma once

#if defined(REG_DWORD) || defined(HKEY_CURRENT_USER)
#error "Include platform/platform.h before <windows.h>: the constants below share Win32's names."
#endif

#include <cstdarg>
#include <cstdint>

// Marks a function the plug-in exports to its host. On Windows the linker
// exports only what is marked; natively the plug-in is built with hidden
// visibility, so again only what is marked can be found by name.
#if defined(_WIN32)
#define PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace platform {

using BOOL = int;
using WORD = uint16_t;
using SHORT = int16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using UINT = unsigned int;
using HRESULT = int32_t;
using LSTATUS = LONG;
using REGSAM = DWORD;
using HANDLE = void*;
using HWND = struct HWND__*;
using HKEY = struct HKEY__*;
using HMODULE = struct HMODULE__*;

// Builds a predefined registry root exactly as Windows does: the 32-bit value
// sign-extended to pointer width.
inline HKEY PredefinedKey(int32_t value) {
  return reinterpret_cast<HKEY>(static_cast<intptr_t>(value));
}

// Status codes the plug-in tests for.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;

// Character types.
inline constexpr DWORD CT_CTYPE1 = 1;
inline constexpr WORD C1_SPACE = 0x0008;
inline constexpr WORD C1_CNTRL = 0x0020;
inline constexpr WORD C1_ALPHA = 0x0100;

// Messages and the standard error handle.
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
inline constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF;
inline constexpr DWORD STD_ERROR_HANDLE = static_cast<DWORD>(-12);

// Registry.
inline const HKEY HKEY_CURRENT_USER = PredefinedKey(static_cast<int32_t>(0x80000001u));
inline const HKEY HKEY_LOCAL_MACHINE = PredefinedKey(static_cast<int32_t>(0x80000002u));
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;

// Keyboard, sound and message box.
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr DWORD SND_ASYNC = 0x0001;
inline constexpr DWORD SND_ALIAS_ID = 0x00110000;
inline constexpr uintptr_t SND_ALIAS_SYSTEMASTERISK = 0x2A53;
inline constexpr UINT MB_OK = 0;

// Character classification (kernel32).
BOOL GetStringTypeW(DWORD infoType, const char16_t* source, int length, WORD* charTypes);

// Path and URL conversion (shlwapi), results and HRESULTs as Windows gives them.
HRESULT UrlCreateFromPathW(const char16_t* path, char16_t* url, DWORD* urlLength, DWORD reserved);
HRESULT PathCreateFromUrlW(const char16_t* url, char16_t* path, DWORD* pathLength, DWORD flags);

// System message texts, formatting and the standard handles (kernel32, user32).
DWORD FormatMessageW(DWORD flags, const void* source, DWORD messageId, DWORD languageId,
                     char16_t* buffer, DWORD size, va_list* arguments);
int wsprintfW(char16_t* buffer, const char16_t* format, ...);
HANDLE GetStdHandle(DWORD stdHandle);

// Registry (advapi32).
LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options, REGSAM desired,
                      HKEY* result);
LSTATUS RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                         uint8_t* data, DWORD* dataSize);
LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved, char16_t* className,
                        DWORD options, REGSAM desired, const void* securityAttributes, HKEY* result,
                        DWORD* disposition);
LSTATUS RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved, DWORD type,
                       const uint8_t* data, DWORD dataSize);
LSTATUS RegCloseKey(HKEY key);

// Keyboard state, sound and the message box (user32, winmm).
SHORT GetAsyncKeyState(int virtualKey);
BOOL PlaySoundW(const char16_t* sound, HMODULE module, DWORD flags);
int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type);
HWND GetForegroundWindow();

}  // namespace platform
