#include "tests/support/wine.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace testing_support {

// Wine's ntdll exports wine_get_version; Windows' does not.
bool RunningUnderWine() {
#if defined(_WIN32)
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace testing_support
