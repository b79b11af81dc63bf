// Stand-ins for UrlCreateFromPathW and PathCreateFromUrlW. Not yet written:
// both refuse every input until the Windows-exact conversions land.
#include "platform/platform.h"

namespace platform {

HRESULT UrlCreateFromPathW(const char16_t*, char16_t*, DWORD*, DWORD) { return E_INVALIDARG; }

HRESULT PathCreateFromUrlW(const char16_t*, char16_t*, DWORD*, DWORD) { return E_INVALIDARG; }

}  // namespace platform
