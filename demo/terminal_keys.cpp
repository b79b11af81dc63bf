// Decodes what xterm-style terminals send for a key press: characters as
// UTF-8, Ctrl with a letter as a control character, Alt as an ESC in front of
// the key, and the cursor, editing and function keys as escape sequences
// (ESC [ ... or ESC O ...) whose second parameter carries the modifiers.
// xterm's "modifyOtherKeys" form (ESC [ 27 ; m ; code ~) and the form
// ESC [ code ; m u are read too, for keys like Ctrl-Minus that have no byte of
// their own.
#include "demo/terminal_keys.h"

#include <array>

namespace demo {

namespace {

constexpr unsigned char kEsc = 0x1b;
constexpr char32_t kReplacement = 0xfffd;
// Larger numbers are cut to this one, beyond every character.
constexpr unsigned kLargestParameter = 0x110000;

DecodedKey Complete(KeyPress press, size_t length) {
  return {true, press, length};
}
DecodedKey Incomplete() {
  return {false, {}, 0};
}

// A named key with its modifiers; bytes that name no key carry none.
KeyPress Named(Key key, unsigned modifiers = 0) {
  return {key, 0, key == Key::kNone ? 0 : modifiers};
}
KeyPress Character(char32_t character, unsigned modifiers = 0) {
  return {Key::kCharacter, character, modifiers};
}

// The modifier parameter of an escape sequence: 1 plus a bit sum of Shift
// (1), Alt (2), Ctrl (4) and Meta (8, taken as Alt). 0 or 1 means none.
unsigned ModifiersOfParameter(unsigned parameter) {
  if (parameter < 2) return 0;
  const unsigned bits = parameter - 1;
  unsigned modifiers = 0;
  if (bits & 1) modifiers |= kShift;
  if (bits & (2 | 8)) modifiers |= kAlt;
  if (bits & 4) modifiers |= kCtrl;
  return modifiers;
}

// The key named by the final letter of ESC [ ... or ESC O ...
Key KeyOfFinalLetter(char final) {
  switch (final) {
    case 'A':
      return Key::kUp;
    case 'B':
      return Key::kDown;
    case 'C':
      return Key::kRight;
    case 'D':
      return Key::kLeft;
    case 'H':
      return Key::kHome;
    case 'F':
      return Key::kEnd;
    case 'P':
      return Key::kF1;
    case 'Q':
      return Key::kF2;
    case 'R':
      return Key::kF3;
    case 'S':
      return Key::kF4;
    default:
      return Key::kNone;
  }
}

// The key named by the number of ESC [ number ~.
Key KeyOfTildeNumber(unsigned number) {
  switch (number) {
    case 1:
    case 7:
      return Key::kHome;
    case 2:
      return Key::kIns;
    case 3:
      return Key::kDel;
    case 4:
    case 8:
      return Key::kEnd;
    case 5:
      return Key::kPgUp;
    case 6:
      return Key::kPgDn;
    case 11:
      return Key::kF1;
    case 12:
      return Key::kF2;
    case 13:
      return Key::kF3;
    case 14:
      return Key::kF4;
    case 15:
      return Key::kF5;
    case 17:
      return Key::kF6;
    case 18:
      return Key::kF7;
    case 19:
      return Key::kF8;
    case 20:
      return Key::kF9;
    case 21:
      return Key::kF10;
    case 23:
      return Key::kF11;
    case 24:
      return Key::kF12;
    default:
      return Key::kNone;
  }
}

// A key given by its character code in ESC [ 27 ; m ; code ~ or ESC [ code ; m u.
KeyPress KeyOfCodePoint(unsigned code, unsigned modifiers) {
  switch (code) {
    case 8:
    case 127:
      return Named(Key::kBackspace, modifiers);
    case 9:
      return Named(Key::kTab, modifiers);
    case 13:
      return Named(Key::kEnter, modifiers);
    case 27:
      return Named(Key::kEscape, modifiers);
    default:
      break;
  }
  if (code < 0x20 || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff)
    return Named(Key::kNone);
  char32_t character = code;
  // Shift alone with a letter types the capital letter.
  if ((modifiers & (kCtrl | kAlt)) == 0 && (modifiers & kShift) != 0 && code >= 'a' &&
      code <= 'z') {
    character = code - 'a' + 'A';
  }
  return Character(character, modifiers);
}

// One byte below 0x80 that is not ESC.
KeyPress KeyOfByte(unsigned char byte) {
  switch (byte) {
    case 0x00:
      return Character(U' ', kCtrl);
    case 0x09:
      return Named(Key::kTab);
    case 0x0d:
      return Named(Key::kEnter);
    case 0x1c:
      return Character(U'\\', kCtrl);
    case 0x1d:
      return Character(U']', kCtrl);
    case 0x1e:
      return Character(U'^', kCtrl);
    case 0x1f:
      return Character(U'_', kCtrl);
    case 0x7f:
      return Named(Key::kBackspace);
    default:
      break;
  }
  if (byte < 0x20) return Character(U'a' + byte - 1, kCtrl);
  return Character(byte);
}

// A UTF-8 character; malformed bytes give U+FFFD, one for each maximal
// malformed prefix.
DecodedKey DecodeUtf8(std::string_view bytes, bool moreMayFollow) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  size_t length = 0;
  char32_t value = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xbf;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    value = lead & 0x1f;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    value = lead & 0x0f;
    if (lead == 0xe0) low = 0xa0;   // no overlong forms
    if (lead == 0xed) high = 0x9f;  // no surrogates
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xf0) low = 0x90;
    if (lead == 0xf4) high = 0x8f;  // nothing above U+10FFFF
  } else {
    return Complete(Character(kReplacement), 1);
  }
  for (size_t i = 1; i < length; ++i) {
    if (i >= bytes.size()) {
      return moreMayFollow ? Incomplete() : Complete(Character(kReplacement), i);
    }
    const auto next = static_cast<unsigned char>(bytes[i]);
    if (next < low || next > high) return Complete(Character(kReplacement), i);
    low = 0x80;
    high = 0xbf;
    value = (value << 6) | (next & 0x3f);
  }
  return Complete(Character(value), length);
}

// The numbers of a parameter string such as "1;5" or "27;6;45"; a missing
// number is 0, a sub-parameter after ":" is skipped.
std::array<unsigned, 4> ParseParameters(std::string_view text) {
  std::array<unsigned, 4> numbers{};
  size_t index = 0;
  bool inSubParameter = false;
  for (const char c : text) {
    if (c == ';') {
      if (++index >= numbers.size()) break;
      inSubParameter = false;
    } else if (c == ':') {
      inSubParameter = true;
    } else if (c >= '0' && c <= '9' && !inSubParameter) {
      unsigned& number = numbers[index];
      number = number * 10 + static_cast<unsigned>(c - '0');
      if (number > kLargestParameter) number = kLargestParameter;
    }
  }
  return numbers;
}

// ESC [ parameters final. An unfinished sequence that no more bytes complete
// is Alt-[.
DecodedKey DecodeCsi(std::string_view bytes, bool moreMayFollow) {
  size_t end = 2;
  while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x20 &&
         static_cast<unsigned char>(bytes[end]) <= 0x3f) {
    ++end;
  }
  if (end == bytes.size() && moreMayFollow) return Incomplete();
  if (end == bytes.size() || static_cast<unsigned char>(bytes[end]) < 0x40 ||
      static_cast<unsigned char>(bytes[end]) > 0x7e) {
    return Complete(Character(U'[', kAlt), 2);
  }
  const std::string_view parameters = bytes.substr(2, end - 2);
  const char final = bytes[end];
  const size_t length = end + 1;
  // Private sequences (mouse reports, answers to queries) name no key.
  if (!parameters.empty() && parameters[0] >= '<' && parameters[0] <= '?') {
    return Complete(Named(Key::kNone), length);
  }
  const auto numbers = ParseParameters(parameters);
  if (final == 'Z')
    return Complete(Named(Key::kTab, kShift | ModifiersOfParameter(numbers[1])), length);
  if (final == 'u')
    return Complete(KeyOfCodePoint(numbers[0], ModifiersOfParameter(numbers[1])), length);
  if (final == '~') {
    if (numbers[0] == 27) {
      return Complete(KeyOfCodePoint(numbers[2], ModifiersOfParameter(numbers[1])), length);
    }
    return Complete(Named(KeyOfTildeNumber(numbers[0]), ModifiersOfParameter(numbers[1])), length);
  }
  return Complete(Named(KeyOfFinalLetter(final), ModifiersOfParameter(numbers[1])), length);
}

// ESC O [modifier] final, the form some terminals use for F1 to F4 and the
// cursor keys. An unfinished sequence that no more bytes complete is Alt-O.
DecodedKey DecodeSs3(std::string_view bytes, bool moreMayFollow) {
  size_t end = 2;
  while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '9' && end < 4) ++end;
  if (end == bytes.size()) {
    if (moreMayFollow) return Incomplete();
    return Complete(Character(U'O', kAlt), 2);
  }
  const unsigned parameter = end > 2 ? ParseParameters(bytes.substr(2, end - 2))[0] : 0;
  return Complete(Named(KeyOfFinalLetter(bytes[end]), ModifiersOfParameter(parameter)), end + 1);
}

}  // namespace

DecodedKey DecodeKey(std::string_view bytes, bool moreMayFollow) {
  if (bytes.empty()) return Incomplete();
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (first >= 0x80) return DecodeUtf8(bytes, moreMayFollow);
  if (first != kEsc) return Complete(KeyOfByte(first), 1);

  if (bytes.size() == 1) return moreMayFollow ? Incomplete() : Complete(Named(Key::kEscape), 1);
  if (bytes[1] == '[') return DecodeCsi(bytes, moreMayFollow);
  if (bytes[1] == 'O') return DecodeSs3(bytes, moreMayFollow);
  // Three ESCs in a row: the first is Escape on its own, so that a run of
  // them is read one key at a time.
  if (bytes.size() >= 3 && bytes[1] == static_cast<char>(kEsc) &&
      bytes[2] == static_cast<char>(kEsc)) {
    return Complete(Named(Key::kEscape), 1);
  }
  // Otherwise ESC is Alt held with the key that follows.
  DecodedKey inner = DecodeKey(bytes.substr(1), moreMayFollow);
  if (!inner.complete) return inner;
  if (inner.press.key != Key::kNone) inner.press.modifiers |= kAlt;
  inner.length += 1;
  return inner;
}

}  // namespace demo
