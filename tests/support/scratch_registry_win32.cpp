// The Windows half of ScratchRegistry: the real registry's own call deletes
// the test's key. The plug-in never deletes anything, so this call lives
// here rather than in the platform layer.
#include "tests/support/scratch_registry.h"

// After platform.h, whose constants share Win32's macro names.
#include <windows.h>

namespace testing_support {

void ScratchRegistry::Clear() {
  for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    ::RegDeleteTreeW(root, reinterpret_cast<const wchar_t*>(testKey_));
  }
}

}  // namespace testing_support
