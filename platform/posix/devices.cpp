// Stand-ins for the keyboard state, sounds and message boxes.
#include <array>
#include <cstdio>

#include "platform/posix/standin.h"
#include "support/utf.h"

namespace {

std::array<bool, 256> keysDown{};
standin::SoundHandler soundHandler;
standin::MessageBoxHandler messageBoxHandler;

constexpr int kIdOk = 1;

}  // namespace

namespace standin {

void SetKeyDown(int virtualKey, bool down) {
  if (virtualKey >= 0 && virtualKey < static_cast<int>(keysDown.size())) {
    keysDown[static_cast<size_t>(virtualKey)] = down;
  }
}

void ReleaseAllKeys() {
  keysDown.fill(false);
}

void SetSoundHandler(SoundHandler handler) {
  soundHandler = std::move(handler);
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  messageBoxHandler = std::move(handler);
}

}  // namespace standin

namespace platform {

SHORT GetAsyncKeyState(int virtualKey) {
  const bool down = virtualKey >= 0 && virtualKey < static_cast<int>(keysDown.size()) &&
                    keysDown[static_cast<size_t>(virtualKey)];
  return down ? static_cast<SHORT>(0x8000u) : SHORT{0};
}

BOOL PlaySoundW(const char16_t* sound, HMODULE /*module*/, DWORD flags) {
  if (soundHandler) soundHandler(sound, flags);
  return 1;
}

int MessageBoxW(HWND /*owner*/, const char16_t* text, const char16_t* caption, UINT type) {
  if (messageBoxHandler) return messageBoxHandler(text, caption, type);
  std::fprintf(stderr, "[%s]\n%s\n", support::ToUtf8(caption ? caption : u"").c_str(),
               support::ToUtf8(text ? text : u"").c_str());
  return kIdOk;
}

HWND GetForegroundWindow() {
  // One pretend window: the console the host runs in.
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10010));
}

}  // namespace platform
