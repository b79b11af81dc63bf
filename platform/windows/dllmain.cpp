// The plug-in's attach and detach notifications: nothing to set up or tear
// down, since all state is static and needs no clean-up.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD /*reason*/, LPVOID /*reserved*/) {
  return TRUE;
}
