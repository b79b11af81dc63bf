// The four variable functions. Each takes the host's argument buffer of
// MAX_ARG_LEN characters, leaves its result there and returns 0, or returns
// -1 after writing an error message.
#pragma once

#include <cstdint>

// @FILE2URI (safePercent 0) and @FILE2URIS (safePercent 1).
int32_t VariableFileToUri(char16_t* buffer, int32_t safePercent);
// @URI2FILE.
int32_t VariableUriToFile(char16_t* buffer);
// @ISURL.
int32_t VariableIsUrl(char16_t* buffer);
