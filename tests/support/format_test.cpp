// Formatting shared by the host's output functions and the wsprintfW stand-in,
// beyond what the plug-in's own messages and wsprintfW's "%d" show.
#include "support/format.h"

#include <gtest/gtest.h>

namespace {

std::u16string Format(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::u16string text = support::FormatWide(format, arguments);
  va_end(arguments);
  return text;
}

TEST(FormatTest, Integers) {
  EXPECT_EQ(Format(u"%u", 4294967295u), u"4294967295");
  EXPECT_EQ(Format(u"%08X", 0xabcu), u"00000ABC");
  EXPECT_EQ(Format(u"[%5d|%-5d|%05d]", 42, 42, -42), u"[   42|42   |-0042]");
  EXPECT_EQ(Format(u"%+d % d", 3, 3), u"+3  3");
  EXPECT_EQ(Format(u"%I64d %lld", -1LL, 1LL << 40), u"-1 1099511627776");
  EXPECT_EQ(Format(u"%#x %o", 255u, 8u), u"0xff 10");
}

TEST(FormatTest, TextAndCharacters) {
  EXPECT_EQ(Format(u"[%5s|%-5s|%.2s]", u"ab", u"ab", u"abc"), u"[   ab|ab   |ab]");
  EXPECT_EQ(Format(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
  EXPECT_EQ(Format(u"%hs|%S", "narrow", "too"), u"narrow|too");
  EXPECT_EQ(Format(u"%c%c", u'\u00e9', 'x'), u"\u00e9x");
  EXPECT_EQ(Format(u"100%% %q"), u"100% %q");
  EXPECT_EQ(Format(u"%"), u"%");
  EXPECT_EQ(Format(u"%*d|%-*d", 4, 1, 3, 2), u"   1|2  ");
}

}  // namespace
