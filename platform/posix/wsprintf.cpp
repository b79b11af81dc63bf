// Stand-in for wsprintfW on the host's formatter. The plug-in passes it only
// "%d" and "Error %d", which both format alike; what user32 adds is its
// buffer of 1,024 characters, the terminator included.
#include <algorithm>

#include "platform/platform.h"
#include "support/format.h"

namespace platform {

int wsprintfW(char16_t* buffer, const char16_t* format, ...) {
  constexpr size_t kCapacity = 1024;
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = support::FormatWide(format, arguments);
  va_end(arguments);
  const size_t length = std::min(text.size(), kCapacity - 1);
  std::copy_n(text.data(), length, buffer);
  buffer[length] = u'\0';
  // A text that fills the buffer is reported as 1,024 characters, even one of
  // exactly 1,023, as user32 reports it.
  return length == kCapacity - 1 ? static_cast<int>(kCapacity) : static_cast<int>(length);
}

}  // namespace platform
