// The plug-in's bounded text helpers.
#include "base/text.h"

#include <gtest/gtest.h>

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
      {u"", 1, u"", 0},        {u"abc", 1, u"", 0},
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

TEST(TextTest, CountOfTakesArraysOnly) {
  char16_t buffer[kMaxNameLen];
  static_assert(CountOf(buffer) == 1024);
  EXPECT_EQ(TextLength(u"abc"), 3u);
}

}  // namespace
