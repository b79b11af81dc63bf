// The plug-in's bounded text helpers.
#include "base/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(TextTest, CopyIsBoundedAndAlwaysTerminated) {
  static const struct {
    const char16_t* source;
    size_t capacity;
    const char16_t* expected;
    size_t copied;
  } kCases[] = {
      {u"abc", 5, u"abc", 3},   // room to spare
      {u"abc", 4, u"abc", 3},   // exactly full
      {u"abcd", 4, u"abc", 3},  // one over: cut
      {u"", 1, u"", 0},
      {u"abc", 1, u"", 0},
      // A cut never splits a surrogate pair: the pair goes whole.
      {u"ab\U0001F600", 4, u"ab", 2},
      {u"ab\U0001F600", 5, u"ab\U0001F600", 4},
      {u"a\U0001F600b", 4, u"a\U0001F600", 3},
      {u"ab\xD800"
       u"c",
       4, u"ab\xD800", 3},  // a lone first half is no pair to split
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    SCOPED_TRACE(row);
    std::u16string buffer(8, u'#');
    EXPECT_EQ(TextCopy(buffer.data(), kCases[row].capacity, kCases[row].source),
              kCases[row].copied);
    EXPECT_EQ(std::u16string(buffer.c_str()), kCases[row].expected);
    EXPECT_EQ(buffer[kCases[row].capacity], u'#') << "wrote past the capacity";
  }
  char16_t untouched[1] = {u'#'};
  EXPECT_EQ(TextCopy(untouched, 0, u"abc"), 0u);
  EXPECT_EQ(untouched[0], u'#');
}

TEST(TextTest, AppendIsBoundedByTheWholeBuffer) {
  char16_t buffer[6] = u"ab";
  EXPECT_EQ(TextAppend(buffer, u"cd"), 4u);
  EXPECT_EQ(std::u16string(buffer), u"abcd");
  EXPECT_EQ(TextAppend(buffer, u"efgh"), 5u);
  EXPECT_EQ(std::u16string(buffer), u"abcde");
  EXPECT_EQ(TextAppend(buffer, u"x"), 5u);
  EXPECT_EQ(std::u16string(buffer), u"abcde");
}

TEST(TextTest, CaseFoldingTouchesOnlyAsciiLetters) {
  EXPECT_TRUE(TextEqualsIgnoreCase(u"Ctrl-Alt-U", u"cTRL-aLT-u"));
  EXPECT_FALSE(TextEqualsIgnoreCase(u"\u00c9", u"\u00e9"));
  EXPECT_FALSE(TextEqualsIgnoreCase(u"ab", u"abc"));
  EXPECT_FALSE(
      TextEqualsIgnoreCase(u"[", u"{"));  // 0x5B and 0x7B differ by 0x20 but are no letters
  EXPECT_TRUE(TextStartsWithIgnoreCase(u"FILE:///c:/x", u"file://"));
  EXPECT_FALSE(TextStartsWithIgnoreCase(u"file:/", u"file://"));
  EXPECT_EQ(AsciiUpper(u'z'), u'Z');
  EXPECT_EQ(AsciiUpper(u'\u00e9'), u'\u00e9');
  EXPECT_EQ(AsciiLower(u'@'), u'@');
}

// The host or Windows may fill a buffer without a terminator; ending the text
// at the buffer's last character must not leave half a surrogate pair.
TEST(TextTest, TerminateTextEndsAFullBufferOnAWholeCharacter) {
  static const struct {
    const char16_t* buffer;  // four characters, as written
    const char16_t* text;    // the text afterwards
  } kCases[] = {
      {u"abcd", u"abc"},
      {u"ab\U0001F600", u"ab"},  // the cut would split the pair
      {u"a\U0001F600b", u"a\U0001F600"},
      {u"ab\xD800"
       u"c",
       u"ab\xD800"},      // a lone first half is no pair to split
      {u"ab\0d", u"ab"},  // terminated already
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.buffer, 4)));
    char16_t buffer[4];
    std::copy_n(row.buffer, 4, buffer);
    TerminateText(buffer);
    EXPECT_EQ(std::u16string(buffer), row.text);
  }
}

}  // namespace
