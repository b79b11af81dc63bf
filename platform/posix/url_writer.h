// Output for the URL conversion stand-ins. Windows writes nothing at all when
// the result does not fit, so each conversion runs twice over the same code:
// once counting the characters it would write, then, if they fit, writing
// them. Neither pass allocates.
#pragma once

#include <cstddef>

#include "platform/posix/win32_extras.h"

namespace standin {

class UrlWriter {
 public:
  // Counts without writing when output is null.
  explicit UrlWriter(char16_t* output) : output_(output) {}

  void Put(char16_t c) {
    if (output_ != nullptr) output_[count_] = c;
    ++count_;
  }
  void Put(const char16_t* text) {
    while (*text != u'\0') Put(*text++);
  }
  size_t count() const { return count_; }

 private:
  char16_t* output_;
  size_t count_ = 0;
};

// Runs convert(writer) once to count its output and once more to write it when
// the output and its terminator fit the caller's buffer. Reports the length in
// Windows' manner: on success the characters written without the terminator,
// otherwise E_POINTER and the characters needed with it.
template <typename Convert>
platform::HRESULT WriteIfItFits(char16_t* output, platform::DWORD* length,
                                platform::HRESULT success, Convert convert) {
  UrlWriter counter(nullptr);
  convert(counter);
  const size_t needed = counter.count() + 1;
  if (needed > *length) {
    *length = static_cast<platform::DWORD>(needed);
    return platform::E_POINTER;
  }
  UrlWriter writer(output);
  convert(writer);
  output[writer.count()] = u'\0';
  *length = static_cast<platform::DWORD>(writer.count());
  return success;
}

// Slashes of either kind, as both conversions treat them.
inline bool IsSlash(char16_t c) {
  return c == u'/' || c == u'\\';
}

inline bool IsAsciiLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

}  // namespace standin
