// The Windows half of ScratchRegistry: the real registry's own call deletes
// a test's key from both roots. The plug-in never deletes anything, so this
// call lives here rather than in the platform layer.
#include <windows.h>

#include <initializer_list>

namespace testing_support {

void DeleteTestKey(const char16_t* testKey) {
  for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    ::RegDeleteTreeW(root, reinterpret_cast<const wchar_t*>(testKey));
  }
}

}  // namespace testing_support
