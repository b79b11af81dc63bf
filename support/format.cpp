#include "support/format.h"

#include <cstdint>

namespace support {

namespace {

struct Conversion {
  bool leftAlign = false;
  bool zeroPad = false;
  bool plusSign = false;
  bool spaceSign = false;
  bool alternate = false;
  int width = 0;
  int precision = -1;
  enum class Size { kDefault, kShort, kLong, kLongLong, kPointer } size = Size::kDefault;
};

void Pad(std::u16string& out, const std::u16string& body, const Conversion& conversion,
         size_t signLength) {
  const size_t width = conversion.width > 0 ? static_cast<size_t>(conversion.width) : 0;
  if (body.size() >= width) {
    out += body;
  } else if (conversion.leftAlign) {
    out += body;
    out.append(width - body.size(), u' ');
  } else if (conversion.zeroPad) {
    out.append(body, 0, signLength);
    out.append(width - body.size(), u'0');
    out.append(body, signLength, std::u16string::npos);
  } else {
    out.append(width - body.size(), u' ');
    out += body;
  }
}

std::u16string Digits(uint64_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(digits[value % base]));
    value /= base;
  } while (value != 0);
  return text;
}

void FormatInteger(std::u16string& out, const Conversion& conversion, char16_t type,
                   va_list& arguments) {
  const bool isSigned = type == u'd' || type == u'i';
  uint64_t magnitude = 0;
  bool negative = false;
  if (isSigned) {
    int64_t value = 0;
    switch (conversion.size) {
      case Conversion::Size::kLongLong:
      case Conversion::Size::kPointer:
        value = va_arg(arguments, long long);
        break;
      case Conversion::Size::kShort:
        value = static_cast<short>(va_arg(arguments, int));
        break;
      default:
        value = va_arg(arguments, int);
        break;
    }
    negative = value < 0;
    magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  } else {
    switch (conversion.size) {
      case Conversion::Size::kLongLong:
      case Conversion::Size::kPointer:
        magnitude = va_arg(arguments, unsigned long long);
        break;
      case Conversion::Size::kShort:
        magnitude = static_cast<unsigned short>(va_arg(arguments, unsigned int));
        break;
      default:
        magnitude = va_arg(arguments, unsigned int);
        break;
    }
  }
  const unsigned base = (type == u'x' || type == u'X') ? 16 : (type == u'o' ? 8 : 10);
  std::u16string digits = Digits(magnitude, base, type == u'X');
  if (conversion.precision >= 0 && digits.size() < static_cast<size_t>(conversion.precision)) {
    digits.insert(0, static_cast<size_t>(conversion.precision) - digits.size(), u'0');
  }
  if (conversion.precision == 0 && magnitude == 0) digits.clear();
  std::u16string prefix;
  if (negative) {
    prefix = u"-";
  } else if (isSigned && conversion.plusSign) {
    prefix = u"+";
  } else if (isSigned && conversion.spaceSign) {
    prefix = u" ";
  } else if (conversion.alternate && magnitude != 0 && base == 16) {
    prefix = type == u'X' ? u"0X" : u"0x";
  } else if (conversion.alternate && base == 8) {
    prefix = u"0";
  }
  Conversion padding = conversion;
  padding.zeroPad = conversion.zeroPad && conversion.precision < 0;
  Pad(out, prefix + digits, padding, prefix.size());
}

void FormatString(std::u16string& out, const Conversion& conversion, bool narrow,
                  va_list& arguments) {
  std::u16string text;
  if (narrow) {
    const char* value = va_arg(arguments, const char*);
    if (value == nullptr) value = "(null)";
    for (; *value != '\0'; ++value)
      text += static_cast<char16_t>(static_cast<unsigned char>(*value));
  } else {
    const char16_t* value = va_arg(arguments, const char16_t*);
    text = value != nullptr ? value : u"(null)";
  }
  if (conversion.precision >= 0 && text.size() > static_cast<size_t>(conversion.precision)) {
    text.resize(static_cast<size_t>(conversion.precision));
  }
  Conversion padding = conversion;
  padding.zeroPad = false;
  Pad(out, text, padding, 0);
}

}  // namespace

std::u16string FormatWide(const char16_t* format, va_list arguments) {
  std::u16string out;
  if (format == nullptr) return out;
  va_list args;
  va_copy(args, arguments);
  const char16_t* p = format;
  while (*p != u'\0') {
    if (*p != u'%') {
      out += *p++;
      continue;
    }
    const char16_t* start = p++;
    Conversion conversion;
    for (;; ++p) {
      if (*p == u'-')
        conversion.leftAlign = true;
      else if (*p == u'0')
        conversion.zeroPad = true;
      else if (*p == u'+')
        conversion.plusSign = true;
      else if (*p == u' ')
        conversion.spaceSign = true;
      else if (*p == u'#')
        conversion.alternate = true;
      else
        break;
    }
    if (*p == u'*') {
      conversion.width = va_arg(args, int);
      if (conversion.width < 0) {
        conversion.leftAlign = true;
        conversion.width = -conversion.width;
      }
      ++p;
    } else {
      for (; *p >= u'0' && *p <= u'9'; ++p) conversion.width = conversion.width * 10 + (*p - u'0');
    }
    if (*p == u'.') {
      ++p;
      conversion.precision = 0;
      if (*p == u'*') {
        conversion.precision = va_arg(args, int);
        ++p;
      } else {
        for (; *p >= u'0' && *p <= u'9'; ++p)
          conversion.precision = conversion.precision * 10 + (*p - u'0');
      }
    }
    bool narrow = false;
    if (*p == u'h') {
      conversion.size = Conversion::Size::kShort;
      narrow = true;
      ++p;
    } else if (*p == u'l') {
      ++p;
      conversion.size = Conversion::Size::kLong;
      if (*p == u'l') {
        conversion.size = Conversion::Size::kLongLong;
        ++p;
      }
    } else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
      conversion.size = Conversion::Size::kLongLong;
      p += 3;
    } else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') {
      p += 3;
    } else if (*p == u'I') {
      conversion.size = Conversion::Size::kPointer;
      ++p;
    }
    const char16_t type = *p;
    switch (type) {
      case u'd':
      case u'i':
      case u'u':
      case u'x':
      case u'X':
      case u'o':
        FormatInteger(out, conversion, type, args);
        break;
      case u'c':
      case u'C': {
        const auto value = static_cast<unsigned>(va_arg(args, int));
        const bool narrowChar = narrow || type == u'C';
        Conversion padding = conversion;
        padding.zeroPad = false;
        Pad(out,
            std::u16string(1, static_cast<char16_t>(narrowChar ? value & 0xFF : value & 0xFFFF)),
            padding, 0);
        break;
      }
      case u's':
        FormatString(out, conversion, narrow, args);
        break;
      case u'S':
        FormatString(out, conversion, true, args);
        break;
      case u'%':
        out += u'%';
        break;
      case u'\0':
        out.append(start, p);
        va_end(args);
        return out;
      default:
        out.append(start, p + 1);
        break;
    }
    ++p;
  }
  va_end(args);
  return out;
}

}  // namespace support
