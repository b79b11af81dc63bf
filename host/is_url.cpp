// QueryIsURL: the kind of internet URL a text is, by its scheme.
#include <string>

#include "host/state.h"
#include "host/takecmd.h"

extern "C" int QueryIsURL(const char16_t* text) {
  if (text == nullptr) return 0;
  // A scheme is a letter followed by letters, digits, "+", "-" or ".", then a
  // colon. One letter and a colon is a drive, not a scheme.
  auto isAsciiLetter = [](char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
  };
  if (!isAsciiLetter(text[0])) return 0;
  size_t length = 1;
  for (;; ++length) {
    const char16_t c = text[length];
    if (!(isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'))
      break;
  }
  if (text[length] != u':' || length < 2) return 0;
  static const struct {
    const char16_t* scheme;
    int kind;
  } kKinds[] = {
      {u"HTTP", 1}, {u"HTTPS", 2}, {u"FTP", 3},   {u"IFTP", 4},
      {u"TFTP", 5}, {u"FTPS", 6},  {u"IFTPS", 7},
  };
  const std::u16string scheme = host::UpperAscii(std::u16string_view(text, length));
  for (const auto& entry : kKinds) {
    if (scheme == entry.scheme) return entry.kind;
  }
  return 8;
}
