// Keys as a terminal sends them: the bytes of one key press decoded into the
// key and the modifiers held with it.
#pragma once

#include <cstddef>
#include <string_view>

namespace demo {

// The keys the line editor tells apart. Every key that types a character,
// letters and digits pressed with Ctrl or Alt included, is kCharacter; kNone
// stands for bytes that name no key, such as an escape sequence we do not know.
// clang-format off
enum class Key {
  kNone, kCharacter, kEnter, kTab, kBackspace, kEscape,
  kF1, kF2, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF10, kF11, kF12,
  kHome, kEnd, kPgUp, kPgDn, kIns, kDel, kUp, kDown, kLeft, kRight,
};
// clang-format on

// Modifier keys, as bits of KeyPress::modifiers.
enum Modifier : unsigned { kShift = 1, kAlt = 2, kCtrl = 4 };

struct KeyPress {
  Key key = Key::kNone;
  char32_t character = 0;  // for kCharacter; Ctrl with a letter gives the lower-case letter
  unsigned modifiers = 0;
};

struct DecodedKey {
  bool complete = false;  // false: the start of a longer sequence still to come
  KeyPress press;
  size_t length = 0;  // bytes that make up the key
};

// Decodes the key at the start of bytes. While more bytes may follow, a
// prefix of a longer sequence (a lone ESC, ESC [, part of a UTF-8 character)
// is incomplete; once no more follow, it is the key it is alone.
DecodedKey DecodeKey(std::string_view bytes, bool moreMayFollow);

}  // namespace demo
