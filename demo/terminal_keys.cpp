// Decodes xterm-style key presses: characters as UTF-8, Ctrl with a letter as a
// control character, Alt as an ESC before the key, other keys as ESC [ or ESC O
// sequences whose second parameter holds the modifiers. ESC [ 27;m;code ~
// (xterm's modifyOtherKeys) and ESC [ code;m u give keys such as Ctrl-Minus.
#include "demo/terminal_keys.h"

#include <algorithm>
#include <array>
#include <utility>

#include "support/utf.h"

namespace demo {

namespace {

using enum Key;

constexpr unsigned kLargestParameter = 0x110000;  // beyond every character

// The keys of ESC [ letter and ESC O letter, of ESC [ number ~, and the
// character codes that name a key.
constexpr std::pair<char, Key> kKeysOfFinalLetters[] = {
    {'A', kUp},  {'B', kDown}, {'C', kRight}, {'D', kLeft}, {'H', kHome},
    {'F', kEnd}, {'P', kF1},   {'Q', kF2},    {'R', kF3},   {'S', kF4}};
constexpr std::pair<unsigned, Key> kKeysOfTildeNumbers[] = {
    {1, kHome}, {2, kIns}, {3, kDel}, {4, kEnd},  {5, kPgUp}, {6, kPgDn}, {7, kHome},
    {8, kEnd},  {11, kF1}, {12, kF2}, {13, kF3},  {14, kF4},  {15, kF5},  {17, kF6},
    {18, kF7},  {19, kF8}, {20, kF9}, {21, kF10}, {23, kF11}, {24, kF12}};
constexpr std::pair<unsigned, Key> kNamedCodes[] = {
    {8, kBackspace}, {9, kTab}, {13, kEnter}, {27, kEscape}, {127, kBackspace}};
// A control byte other than Tab and Enter is Ctrl with the character at its
// index here: 0x01 is Ctrl-A.
constexpr std::u32string_view kControlCharacters = U" abcdefghijklmnopqrstuvwxyz[\\]^_";

DecodedKey Complete(KeyPress press, size_t length) {
  return {true, press, length};
}
DecodedKey Incomplete() {
  return {false, {}, 0};
}

// A named key with its modifiers; bytes that name no key carry none.
KeyPress Named(Key key, unsigned modifiers = 0) {
  return {key, 0, key == kNone ? 0 : modifiers};
}
KeyPress Character(char32_t character, unsigned modifiers = 0) {
  return {kCharacter, character, modifiers};
}

// The modifier parameter of a sequence is 1 plus the bits of Shift (1), Alt
// (2), Ctrl (4), which are our own, and Meta (8), taken as Alt (2).
unsigned ModifiersOfParameter(unsigned parameter) {
  const unsigned bits = parameter < 2 ? 0 : parameter - 1;
  return (bits & 7) | ((bits & 8) >> 2);
}

template <typename Code, size_t N>
Key Lookup(const std::pair<Code, Key> (&table)[N], Code code) {
  for (const auto& [entry, key] : table) {
    if (entry == code) return key;
  }
  return kNone;
}

// A key by its character code; Shift alone with a letter types the capital.
KeyPress KeyOfCodePoint(unsigned code, unsigned modifiers) {
  if (const Key key = Lookup(kNamedCodes, code); key != kNone) return Named(key, modifiers);
  if (code < 0x20 || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) return Named(kNone);
  const bool capital = modifiers == kShift && code >= 'a' && code <= 'z';
  return Character(capital ? code - 'a' + 'A' : code, modifiers);
}

// One byte below 0x80 that is not ESC.
KeyPress KeyOfByte(unsigned char byte) {
  const bool control = byte < 0x20 && byte != '\t' && byte != '\r';
  return control ? Character(kControlCharacters[byte], kCtrl) : KeyOfCodePoint(byte, 0);
}

// The numbers of a parameter string such as "1;5" or "27;6;45"; a missing
// number is 0, a sub-parameter after ":" is skipped.
std::array<unsigned, 4> ParseParameters(std::string_view text) {
  std::array<unsigned, 4> numbers{};
  size_t index = 0;
  bool inSubParameter = false;
  for (const char c : text) {
    if (c == ';' && ++index == numbers.size()) break;
    inSubParameter = c == ':' || (inSubParameter && c != ';');
    if (c >= '0' && c <= '9' && !inSubParameter) {
      numbers[index] = std::min(numbers[index] * 10 + (c - '0'), kLargestParameter);
    }
  }
  return numbers;
}

// ESC [ parameters final, or ESC O, two digits at most and a final letter (F1
// to F4 and the cursor keys on some terminals); Alt-[ or Alt-O when no more
// bytes finish it. Private ones (mouse reports, answers) name no key.
DecodedKey DecodeSequence(std::string_view bytes, bool moreMayFollow) {
  const bool csi = bytes[1] == '[';
  size_t end = 2;
  while (end < bytes.size() && (csi ? bytes[end] >= 0x20 && bytes[end] <= 0x3f
                                    : bytes[end] >= '0' && bytes[end] <= '9' && end < 4)) {
    ++end;
  }
  if (end == bytes.size() && moreMayFollow) return Incomplete();
  if (end == bytes.size() || (csi && (bytes[end] < 0x40 || bytes[end] > 0x7e))) {
    return Complete(Character(static_cast<char32_t>(bytes[1]), kAlt), 2);
  }
  const std::string_view parameters = bytes.substr(2, end - 2);
  const char final = bytes[end];
  if (!parameters.empty() && parameters[0] >= '<' && parameters[0] <= '?') {
    return Complete(Named(kNone), end + 1);
  }
  const auto numbers = ParseParameters(parameters);
  const unsigned modifiers = ModifiersOfParameter(numbers[csi ? 1 : 0]);
  KeyPress press = Named(Lookup(kKeysOfFinalLetters, final), modifiers);
  if (!csi) return Complete(press, end + 1);
  if (final == 'Z') press = Named(kTab, kShift | modifiers);
  if (final == 'u') press = KeyOfCodePoint(numbers[0], modifiers);
  if (final == '~') press = Named(Lookup(kKeysOfTildeNumbers, numbers[0]), modifiers);
  if (final == '~' && numbers[0] == 27) press = KeyOfCodePoint(numbers[2], modifiers);
  return Complete(press, end + 1);
}

}  // namespace

DecodedKey DecodeKey(std::string_view bytes, bool moreMayFollow) {
  if (bytes.empty()) return Incomplete();
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (first >= 0x80) {
    const support::Utf8Character c = support::DecodeUtf8(bytes);
    return c.cutShort && moreMayFollow ? Incomplete() : Complete(Character(c.value), c.length);
  }
  if (first != 0x1b) return Complete(KeyOfByte(first), 1);
  if (bytes.size() == 1) return moreMayFollow ? Incomplete() : Complete(Named(kEscape), 1);
  if (bytes[1] == '[' || bytes[1] == 'O') return DecodeSequence(bytes, moreMayFollow);
  // Of three ESCs the first is Escape alone, so that a run is read key by key.
  if (bytes.substr(1, 2) == "\x1b\x1b") return Complete(Named(kEscape), 1);
  // Otherwise ESC is Alt held with the key that follows.
  DecodedKey inner = DecodeKey(bytes.substr(1), moreMayFollow);
  if (!inner.complete) return inner;
  if (inner.press.key != kNone) inner.press.modifiers |= kAlt;
  inner.length += 1;
  return inner;
}

}  // namespace demo
