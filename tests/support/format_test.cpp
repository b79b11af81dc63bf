// Formatting shared by the host's output functions and the wsprintfW stand-in,
// beyond what the plug-in's own messages and wsprintfW's "%d" show.
#include "support/format.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::u16string Format(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::u16string text = support::FormatWide(format, arguments);
  va_end(arguments);
  return text;
}

TEST(FormatTest, Numbers) {
  EXPECT_EQ(Format(u"%u %d", 4294967295u, INT_MIN), u"4294967295 -2147483648");
  EXPECT_EQ(Format(u"%08x|%x", 0xabcu, 0xdeadbeefu), u"00000abc|deadbeef");
  EXPECT_EQ(Format(u"[%5d|%05d|%1d]", 42, -42, 123), u"[   42|-0042|123]");
}

TEST(FormatTest, TextAndWhatIsNoConversion) {
  EXPECT_EQ(Format(u"[%5s|%05s|%s]", u"ab", u"ab", u"abc"), u"[   ab|   ab|abc]");
  EXPECT_EQ(Format(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
  EXPECT_EQ(Format(u"100%% %q %s", u"x"), u"100% %q x");
  EXPECT_EQ(Format(u"a%"), u"a%");
}

}  // namespace
