// Stand-in for FormatMessageW. Not yet written: no code has a text.
#include "platform/platform.h"

namespace platform {

DWORD FormatMessageW(DWORD, const void*, DWORD, DWORD, char16_t*, DWORD, va_list*) { return 0; }

}  // namespace platform
