// Texts the plug-in has the host expand.
#pragma once

#include "base/text.h"

// Copies text into a cleared buffer, has the host expand its variable
// references in place and ends the result within the buffer. The host is never
// told the buffer's size and the variables hold whatever a user set, so every
// expansion gets the full 8,192 characters.
void ExpandHostText(const char16_t* text, char16_t (&buffer)[MAX_ARG_LEN]);
