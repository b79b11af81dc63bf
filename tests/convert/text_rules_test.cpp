// Trimming and the quote rule.
#include <gtest/gtest.h>

#include <string>

#include "convert/convert.h"

namespace {

TEST(TrimWhitespaceTest, RemovesOnlyLeadingAndTrailingWhiteSpace) {
  static const struct {
    const char16_t* text;
    const char16_t* expected;
  } kCases[] = {
      {u"", u""},
      {u"abc", u"abc"},
      {u"  abc", u"abc"},
      {u"abc  ", u"abc"},
      {u" \t\r\n\v\f\u00a0abc\u00a0\n ", u"abc"},
      {u"  a b  c  ", u"a b  c"},
      {u"   ", u""},
      {u"\u00a0", u""},
      {u"\u3000x\u3000", u"x"},  // ideographic space is white space above U+00FF
      {u"\u2028x\u2029", u"x"},  // line and paragraph separators
      {u"\x1f"
       u"x\x1f",
       u"\x1f"
       u"x\x1f"},                // a control character is no white space
      {u"\u0085x", u"\u0085x"},  // nor is NEL, below U+0100
      {u"\uffffx\uffff", u"\uffffx\uffff"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.text)));
    std::u16string text = row.text;
    text.push_back(u'\0');
    text.append(u"#");  // beyond the terminator: must stay
    EXPECT_EQ(TrimWhitespace(text.data()), 0);
    EXPECT_EQ(std::u16string(text.c_str()), row.expected);
    EXPECT_EQ(text.back(), u'#');
  }
  EXPECT_EQ(TrimWhitespace(nullptr), -1);
}

TEST(CountQuoteTriggersTest, CountsEachTriggerOnce) {
  static const struct {
    const char16_t* text;
    uint32_t count;
  } kCases[] = {
      {u"", 0},
      {u"C:\\Temp\\a.txt", 0},
      {u"C:\\(x)^%\"y\"!#$'@[]{}=+~`", 0},
      {u"a b", 1},
      {u"a\tb", 1},
      {u"a\u00a0b", 1},
      {u"a\x01"
       u"b\x7f"
       u"c\u0085",
       3},
      {u"<>|,;&", 6},
      {u"a & b", 3},
      {u"\u3000", 1},
      {u"\u00e9\u4e2d", 0},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.text)));
    EXPECT_EQ(CountQuoteTriggers(row.text), row.count);
  }
}

}  // namespace
