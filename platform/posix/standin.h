// Controls for the native stand-ins of the platform layer. The stand-in host
// and the tests use these to set what "Windows" reports: the keyboard state,
// where sounds and message boxes go, and the registry's files and faults.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace standin {

// Keyboard state as GetAsyncKeyState reports it. All keys start up.
void SetKeyDown(int virtualKey, bool down);
void ReleaseAllKeys();

// Receives each PlaySoundW call; without a handler sounds are dropped.
using SoundHandler = std::function<void(const char16_t* sound, platform::DWORD flags)>;
void SetSoundHandler(SoundHandler handler);

// Receives each MessageBoxW call and gives its result; without a handler the
// box is written to standard error and the call returns IDOK (1).
using MessageBoxHandler =
    std::function<int(const char16_t* text, const char16_t* caption, platform::UINT type)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

// The registry keeps HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE in one file
// each, in the registry editor's export format. A file set here wins; an
// empty path forgets it. Otherwise the variables MARIVEX_REGISTRY_HKCU and
// MARIVEX_REGISTRY_HKLM name the files, and without them HKCU lives in
// ${XDG_STATE_HOME:-$HOME/.local/state}/marivex/HKCU.reg and HKLM in
// /var/lib/marivex/HKLM.reg. Other roots are not kept.
void SetRegistryFile(platform::HKEY root, std::string path);
std::string RegistryFile(platform::HKEY root);

// Makes a root refuse every change with ERROR_ACCESS_DENIED, as Windows'
// HKEY_LOCAL_MACHINE does for a user without rights; reads still work.
void SetRegistryReadOnly(platform::HKEY root, bool readOnly);

}  // namespace standin
