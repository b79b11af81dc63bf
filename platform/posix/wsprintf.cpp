// Stand-in for wsprintfW: user32's own small formatter, which differs from the
// C library's printf (no "+", " " or "*", no octal or floating point, a fixed
// 1,024-character buffer).
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/platform.h"

namespace platform {

namespace {

// wsprintfW writes at most 1,024 characters, the terminator included.
constexpr size_t kCapacity = 1024;

// The caller's buffer, filled up to the last place before the terminator;
// whatever comes after that is dropped.
class Output {
 public:
  explicit Output(char16_t* buffer) : buffer_(buffer) {}

  void Put(char16_t c) {
    if (length_ < kCapacity - 1) buffer_[length_++] = c;
  }
  void Put(char16_t c, size_t count) {
    for (; count > 0 && length_ < kCapacity - 1; --count) Put(c);
  }
  void Put(const char16_t* text, size_t count) {
    for (size_t i = 0; i < count; ++i) Put(text[i]);
  }
  // Characters that still fit before the terminator.
  size_t Room() const { return kCapacity - 1 - length_; }

  // Terminates the text. Windows reports a full buffer as 1,024 characters,
  // even when the text filled it exactly.
  int Finish() {
    buffer_[length_] = u'\0';
    return length_ == kCapacity - 1 ? static_cast<int>(kCapacity) : static_cast<int>(length_);
  }

 private:
  char16_t* buffer_;
  size_t length_ = 0;
};

// One conversion: "%" [-] [#] [0...] [width] [.precision] [size] type.
struct Field {
  bool leftAlign = false;
  bool alternate = false;
  bool zeroPad = false;
  size_t width = 0;
  bool hasPrecision = false;
  size_t precision = 0;
  enum class Size { kDefault, kNarrow, kWide, kWord64 } size = Size::kDefault;
};

// Reads decimal digits; a number beyond the buffer cannot change the output,
// so it is held at the buffer's size.
size_t ReadNumber(const char16_t*& p) {
  size_t value = 0;
  for (; *p >= u'0' && *p <= u'9'; ++p) {
    value = value * 10 + static_cast<size_t>(*p - u'0');
    if (value > kCapacity) value = kCapacity;
  }
  return value;
}

Field ReadField(const char16_t*& p) {
  Field field;
  if (*p == u'-') {
    field.leftAlign = true;
    ++p;
  }
  if (*p == u'#') {
    field.alternate = true;
    ++p;
  }
  for (; *p == u'0'; ++p) field.zeroPad = true;
  field.width = ReadNumber(p);
  if (*p == u'.') {
    ++p;
    field.hasPrecision = true;
    field.precision = ReadNumber(p);
  }
  if (*p == u'h') {
    field.size = Field::Size::kNarrow;
    ++p;
  } else if (*p == u'l' || *p == u'w') {
    field.size = Field::Size::kWide;
    ++p;
  } else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
    field.size = Field::Size::kWord64;
    p += 3;
  } else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') {
    p += 3;
  } else if (*p == u'I') {
    if (sizeof(void*) == 8) field.size = Field::Size::kWord64;
    ++p;
  }
  return field;
}

// What one conversion writes: a prefix ("0x"), a sign, the zeros a
// precision asks for, and the value's own characters.
struct Piece {
  const char16_t* prefix = u"";
  size_t prefixLength = 0;
  bool negative = false;
  size_t precisionZeros = 0;
  const char16_t* value = nullptr;
  size_t valueLength = 0;
};

// Writes a piece in its field's width. The prefix stands outside the width;
// zeros that pad go after the sign. When the buffer runs short, the filling
// (padding and precision zeros) gives way first so that the value still
// shows, as Wine's wsprintfW does.
void PutPiece(Output& out, const Field& field, bool zeroPad, const Piece& piece) {
  const size_t sign = piece.negative ? 1 : 0;
  const size_t body = sign + piece.precisionZeros + piece.valueLength;
  size_t padding = field.width > body ? field.width - body : 0;
  const size_t essential = piece.prefixLength + sign + piece.valueLength;
  size_t room = out.Room() > essential ? out.Room() - essential : 0;
  const size_t zeros = std::min(piece.precisionZeros, room);
  room -= zeros;
  if (!field.leftAlign) padding = std::min(padding, room);
  const bool padWithZeros = zeroPad && !field.leftAlign;
  if (!field.leftAlign && !padWithZeros) out.Put(u' ', padding);
  out.Put(piece.prefix, piece.prefixLength);
  if (piece.negative) out.Put(u'-');
  out.Put(u'0', zeros + (padWithZeros ? padding : 0));
  out.Put(piece.value, piece.valueLength);
  if (field.leftAlign) out.Put(u' ', padding);
}

// Integers: the precision is the least number of characters, the sign
// included, and a value of 0 always shows its digit.
void PutInteger(Output& out, const Field& field, char16_t type, bool negative, uint64_t magnitude) {
  const unsigned base = (type == u'x' || type == u'X') ? 16 : 10;
  const char* const digits = type == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  char16_t text[24];
  size_t start = std::size(text);
  do {
    text[--start] = static_cast<char16_t>(digits[magnitude % base]);
    magnitude /= base;
  } while (magnitude != 0);

  Piece piece;
  if (field.alternate && base == 16) {
    piece.prefix = type == u'X' ? u"0X" : u"0x";
    piece.prefixLength = 2;
  }
  piece.negative = negative;
  piece.value = text + start;
  piece.valueLength = std::size(text) - start;
  const size_t shown = (negative ? 1 : 0) + piece.valueLength;
  if (field.hasPrecision && field.precision > shown) piece.precisionZeros = field.precision - shown;
  PutPiece(out, field, field.zeroPad, piece);
}

char16_t Widen(char c) {
  return static_cast<char16_t>(static_cast<unsigned char>(c));
}
char16_t Widen(char16_t c) {
  return c;
}

// Text: the precision is the most characters taken. Narrow text is widened
// byte by byte (Latin-1), which is what the ANSI code page gives for ASCII.
template <typename Character>
void PutText(Output& out, const Field& field, const Character* text) {
  char16_t value[kCapacity];
  size_t length = 0;
  const size_t limit = field.hasPrecision ? std::min(field.precision, kCapacity) : kCapacity;
  const auto take = [&](const auto* p) {
    for (; *p != 0 && length < limit; ++p) value[length++] = Widen(*p);
  };
  if (text == nullptr) {
    take(u"(null)");
  } else {
    take(text);
  }
  Piece piece;
  piece.value = value;
  piece.valueLength = length;
  PutPiece(out, field, false, piece);
}

void PutCharacter(Output& out, const Field& field, char16_t c) {
  Piece piece;
  piece.value = &c;
  piece.valueLength = 1;
  PutPiece(out, field, false, piece);
}

}  // namespace

int wsprintfW(char16_t* buffer, const char16_t* format, ...) {
  if (buffer == nullptr) return 0;
  Output out(buffer);
  va_list arguments;
  va_start(arguments, format);
  for (const char16_t* p = format != nullptr ? format : u""; *p != u'\0'; ++p) {
    if (*p != u'%') {
      out.Put(*p);
      continue;
    }
    ++p;
    const Field field = ReadField(p);
    const bool word64 = field.size == Field::Size::kWord64;
    // "h" makes c and s narrow, "l" and "w" make C and S wide.
    const bool narrow = field.size == Field::Size::kNarrow;
    const bool wide = field.size == Field::Size::kWide;
    const char16_t type = *p;
    if (type == u'\0') break;
    switch (type) {
      case u'd':
      case u'i': {
        const int64_t value = word64 ? va_arg(arguments, long long) : va_arg(arguments, int);
        const uint64_t magnitude =
            value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        PutInteger(out, field, type, value < 0, magnitude);
        break;
      }
      case u'u':
      case u'x':
      case u'X': {
        const uint64_t value =
            word64 ? va_arg(arguments, unsigned long long) : va_arg(arguments, unsigned int);
        PutInteger(out, field, type, false, value);
        break;
      }
      case u'p': {
        Field pointer = field;
        if (!pointer.hasPrecision) {
          pointer.hasPrecision = true;
          pointer.precision = 2 * sizeof(void*);
        }
        PutInteger(out, pointer, u'X', false,
                   reinterpret_cast<uintptr_t>(va_arg(arguments, void*)));
        break;
      }
      case u'c':
      case u'C': {
        const auto value = static_cast<unsigned>(va_arg(arguments, int));
        const bool narrowCharacter = type == u'c' ? narrow : !wide;
        PutCharacter(out, field,
                     static_cast<char16_t>(narrowCharacter ? value & 0xFF : value & 0xFFFF));
        break;
      }
      case u's':
      case u'S':
        if (type == u's' ? narrow : !wide) {
          PutText(out, field, va_arg(arguments, const char*));
        } else {
          PutText(out, field, va_arg(arguments, const char16_t*));
        }
        break;
      default:
        // "%%" gives "%"; any other character that is no type stands for
        // itself.
        out.Put(type);
        break;
    }
  }
  va_end(arguments);
  return out.Finish();
}

}  // namespace platform
