#include "support/format.h"

#include <algorithm>

namespace support {

namespace {

// Wider fields than this are cut to it: no message comes near it.
constexpr size_t kWidestField = 8192;

std::u16string Digits(unsigned value, unsigned base) {
  std::u16string text;
  do {
    text.insert(text.begin(), u"0123456789abcdef"[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

}  // namespace

std::u16string FormatWide(const char16_t* format, va_list arguments) {
  std::u16string out;
  if (format == nullptr) return out;
  va_list args;
  va_copy(args, arguments);
  for (const char16_t* p = format; *p != u'\0'; ++p) {
    if (*p != u'%') {
      out += *p;
      continue;
    }
    const char16_t* start = p++;
    const bool zeroPad = *p == u'0';
    size_t width = 0;
    for (; *p >= u'0' && *p <= u'9'; ++p) {
      width = std::min(width * 10 + static_cast<size_t>(*p - u'0'), kWidestField);
    }
    std::u16string field;
    if (*p == u's') {
      const char16_t* text = va_arg(args, const char16_t*);
      field = text != nullptr ? text : u"(null)";
    } else if (*p == u'd') {
      const int value = va_arg(args, int);
      const unsigned magnitude =
          value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
      field = (value < 0 ? u"-" : u"") + Digits(magnitude, 10);
    } else if (*p == u'u' || *p == u'x') {
      field = Digits(va_arg(args, unsigned), *p == u'x' ? 16 : 10);
    } else if (*p == u'%') {
      out += u'%';
      continue;
    } else if (*p == u'\0') {
      out.append(start, p);  // a "%" that ends the format
      break;
    } else {
      out.append(start, p + 1);  // an unknown conversion, as it stands
      continue;
    }
    if (field.size() < width) {
      const bool zeros = zeroPad && *p != u's';
      const size_t at = zeros && field[0] == u'-' ? 1 : 0;
      field.insert(at, width - field.size(), zeros ? u'0' : u' ');
    }
    out += field;
  }
  va_end(args);
  return out;
}

}  // namespace support
