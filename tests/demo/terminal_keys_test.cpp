// Decoding what a terminal sends into keys and modifiers.
#include "demo/terminal_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using demo::DecodeKey;
using demo::kAlt;
using demo::kCtrl;
using demo::Key;
using demo::KeyPress;
using demo::kShift;

KeyPress Char(char32_t character, unsigned modifiers = 0) {
  return {Key::kCharacter, character, modifiers};
}
KeyPress Named(Key key, unsigned modifiers = 0) {
  return {key, 0, modifiers};
}

std::string Describe(const KeyPress& press) {
  return "key " + std::to_string(static_cast<int>(press.key)) + " character U+" +
         std::to_string(static_cast<unsigned long>(press.character)) + " modifiers " +
         std::to_string(press.modifiers);
}

struct CompleteRow {
  std::string_view bytes;
  KeyPress press;
  size_t length;
};

const CompleteRow kCompleteRows[] = {
    // Characters, and Ctrl with a letter as a control character.
    {"a", Char(U'a'), 1},
    {"\x01", Char(U'a', kCtrl), 1},
    {"\x08", Char(U'h', kCtrl), 1},
    {"\x0a", Char(U'j', kCtrl), 1},
    {std::string_view("\0", 1), Char(U' ', kCtrl), 1},
    {"\x1c", Char(U'\\', kCtrl), 1},
    {"\x1d", Char(U']', kCtrl), 1},
    {"\x1f", Char(U'_', kCtrl), 1},
    {"\r", Named(Key::kEnter), 1},
    {"\t", Named(Key::kTab), 1},
    {"\x7f", Named(Key::kBackspace), 1},
    // UTF-8, and a replacement character for each malformed piece.
    {"\xc3\xa9", Char(U'\u00e9'), 2},
    {"\xe4\xb8\xad", Char(U'\u4e2d'), 3},
    {"\xf0\x9f\x98\x80", Char(U'\U0001f600'), 4},
    {"\xff", Char(U'\ufffd'), 1},
    {"\x80", Char(U'\ufffd'), 1},
    {"\xc3\x41", Char(U'\ufffd'), 1},
    {"\xe0\x80\x80", Char(U'\ufffd'), 1},      // overlong
    {"\xed\xa0\x80", Char(U'\ufffd'), 1},      // a surrogate
    {"\xf4\x90\x80\x80", Char(U'\ufffd'), 1},  // beyond U+10FFFF
    {"\xe4\xb8\x41", Char(U'\ufffd'), 2},
    // Alt as ESC in front of the key.
    {"\x1bu", Char(U'u', kAlt), 2},
    {"\x1bU", Char(U'U', kAlt), 2},
    {"\x1b\x15", Char(U'u', kCtrl | kAlt), 2},
    {"\x1b\r", Named(Key::kEnter, kAlt), 2},
    {"\x1b\x7f", Named(Key::kBackspace, kAlt), 2},
    {"\x1b\xc3\xa9", Char(U'\u00e9', kAlt), 3},
    {"\x1b\x1b[A", Named(Key::kUp, kAlt), 4},
    {"\x1b\x1b\x1b", Named(Key::kEscape), 1},
    {"\x1b[\x03", Char(U'[', kAlt), 2},
    // Cursor and editing keys (the other final letters, and 3 and 5, come with
    // a modifier below).
    {"\x1b[A", Named(Key::kUp), 3},
    {"\x1bOA", Named(Key::kUp), 3},
    {"\x1b[1~", Named(Key::kHome), 4},
    {"\x1b[7~", Named(Key::kHome), 4},
    {"\x1b[4~", Named(Key::kEnd), 4},
    {"\x1b[8~", Named(Key::kEnd), 4},
    {"\x1b[2~", Named(Key::kIns), 4},
    {"\x1b[6~", Named(Key::kPgDn), 4},
    {"\x1b[Z", Named(Key::kTab, kShift), 3},
    // Modifier parameters 2 to 8, and Meta (9 and up) as Alt.
    {"\x1b[1;2D", Named(Key::kLeft, kShift), 6},
    {"\x1b[1;3H", Named(Key::kHome, kAlt), 6},
    {"\x1b[1;4A", Named(Key::kUp, kShift | kAlt), 6},
    {"\x1b[1;5C", Named(Key::kRight, kCtrl), 6},
    {"\x1b[1;6B", Named(Key::kDown, kCtrl | kShift), 6},
    {"\x1b[1;7F", Named(Key::kEnd, kCtrl | kAlt), 6},
    {"\x1b[1;8F", Named(Key::kEnd, kCtrl | kAlt | kShift), 6},
    {"\x1b[1;9A", Named(Key::kUp, kAlt), 6},
    {"\x1b[3;5~", Named(Key::kDel, kCtrl), 6},
    {"\x1b[5;3~", Named(Key::kPgUp, kAlt), 6},
    // Function keys.
    {"\x1bOP", Named(Key::kF1), 3},
    {"\x1bOS", Named(Key::kF4), 3},
    {"\x1bO5Q", Named(Key::kF2, kCtrl), 4},
    {"\x1b[1;2P", Named(Key::kF1, kShift), 6},
    {"\x1b[1;7R", Named(Key::kF3, kCtrl | kAlt), 6},
    {"\x1b[11~", Named(Key::kF1), 5},
    {"\x1b[15~", Named(Key::kF5), 5},
    {"\x1b[17~", Named(Key::kF6), 5},
    {"\x1b[21~", Named(Key::kF10), 5},
    {"\x1b[23~", Named(Key::kF11), 5},
    {"\x1b[24;6~", Named(Key::kF12, kCtrl | kShift), 7},
    // Keys by character code: xterm's modifyOtherKeys and the CSI u form.
    {"\x1b[27;5;45~", Char(U'-', kCtrl), 10},
    {"\x1b[27;2;13~", Named(Key::kEnter, kShift), 10},
    {"\x1b[27;7;117~", Char(U'u', kCtrl | kAlt), 11},
    {"\x1b[45;5u", Char(U'-', kCtrl), 7},
    {"\x1b[13;5u", Named(Key::kEnter, kCtrl), 7},
    {"\x1b[97;2u", Char(U'A', kShift), 7},
    {"\x1b[97;6u", Char(U'a', kCtrl | kShift), 7},
    {"\x1b[127;3u", Named(Key::kBackspace, kAlt), 8},
    {"\x1b[27u", Named(Key::kEscape), 5},
    // Sequences that name no key are read whole and ignored.
    {"\x1b[<0;12;5M", Named(Key::kNone), 10},
    {"\x1b[?1;2c", Named(Key::kNone), 7},
    {"\x1b[99~", Named(Key::kNone), 5},
    {"\x1b[1;5E", Named(Key::kNone), 6},
    {"\x1bOx", Named(Key::kNone), 3},
    {"\x1b[55296u", Named(Key::kNone), 8},  // a surrogate
    {"\x1b[9999999999u", Named(Key::kNone), 13},
};

// Each alone, and followed by the next key as in a stream of keys.
TEST(TerminalKeysTest, DecodesCompleteSequences) {
  for (const auto& row : kCompleteRows) {
    SCOPED_TRACE(testing::PrintToString(std::string(row.bytes)));
    for (const std::string& bytes : {std::string(row.bytes), std::string(row.bytes) + "x"}) {
      for (const bool moreMayFollow : {true, false}) {
        const auto decoded = DecodeKey(bytes, moreMayFollow);
        ASSERT_TRUE(decoded.complete);
        EXPECT_EQ(Describe(decoded.press), Describe(row.press));
        EXPECT_EQ(decoded.length, row.length);
      }
    }
  }
}

// Prefixes of longer sequences wait for more bytes while more may come;
// afterwards they stand for what they are alone.
struct PrefixRow {
  std::string_view bytes;
  KeyPress alone;
  size_t length;
};

const PrefixRow kPrefixRows[] = {
    {"\x1b", Named(Key::kEscape), 1},       {"\x1b\x1b", Named(Key::kEscape, kAlt), 2},
    {"\x1b[", Char(U'[', kAlt), 2},         {"\x1b[1;5", Char(U'[', kAlt), 2},
    {"\x1b[27;5;4", Char(U'[', kAlt), 2},   {"\x1bO", Char(U'O', kAlt), 2},
    {"\x1bO5", Char(U'O', kAlt), 2},        {"\xc3", Char(U'\ufffd'), 1},
    {"\xe4\xb8", Char(U'\ufffd'), 2},       {"\xf0\x9f\x98", Char(U'\ufffd'), 3},
    {"\x1b\xc3", Char(U'\ufffd', kAlt), 2},
};

TEST(TerminalKeysTest, WaitsForTheRestOfASequence) {
  EXPECT_FALSE(DecodeKey("", true).complete);
  EXPECT_FALSE(DecodeKey("", false).complete);
  for (const auto& row : kPrefixRows) {
    SCOPED_TRACE(testing::PrintToString(std::string(row.bytes)));
    EXPECT_FALSE(DecodeKey(row.bytes, true).complete);
    const auto alone = DecodeKey(row.bytes, false);
    ASSERT_TRUE(alone.complete);
    EXPECT_EQ(Describe(alone.press), Describe(row.alone));
    EXPECT_EQ(alone.length, row.length);
  }
}

}  // namespace
