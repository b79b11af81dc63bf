// Where wrapped text leaves the cursor on a terminal, and how lines are shown.
#include "demo/screen_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "support/utf.h"

namespace {

using demo::ScreenPosition;

std::string Where(ScreenPosition position) {
  return std::to_string(position.row) + ":" + std::to_string(position.column);
}

TEST(ScreenLayoutTest, CursorAfterWrappedText) {
  const struct {
    const char* what;
    ScreenPosition start;
    std::u16string text;
    int columns;
    ScreenPosition end;
  } rows[] = {
      {"after a prompt", {0, 4}, u"abc", 10, {0, 7}},
      {"one short of the margin", {0, 0}, std::u16string(9, u'x'), 10, {0, 9}},
      {"exactly full: the next row's start", {0, 0}, std::u16string(10, u'x'), 10, {1, 0}},
      {"one over", {0, 0}, std::u16string(11, u'x'), 10, {1, 1}},
      {"three rows", {0, 3}, std::u16string(25, u'x'), 10, {2, 8}},
      {"wide characters", {0, 0}, u"\u4e2d\u6587", 10, {0, 4}},
      {"a wide character that does not fit moves on", {0, 9}, u"\u4e2d", 10, {1, 2}},
      {"a wide character that just fits", {0, 8}, u"\u4e2d", 10, {1, 0}},
      {"full-width percent", {0, 0}, u"\uff05", 10, {0, 2}},
      {"combining mark", {0, 0}, u"e\u0301", 10, {0, 1}},
      {"surrogate pair", {0, 0}, u"\U0001f600x", 10, {0, 3}},
      {"wide beyond the basic plane", {0, 0}, u"\U0001f680\U0001fa90", 10, {0, 4}},
      {"unpaired surrogate", {0, 0}, u"\xd800x", 10, {0, 2}},
      {"a control character as ^A", {0, 0}, u"a\x01", 10, {0, 3}},
      {"wider than the screen", {0, 0}, u"\u4e2d\u4e2d", 1, {2, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Where(demo::Positions(row.start, row.text, row.columns).back()), Where(row.end));
  }
}

// The line shows every control character; output keeps its line breaks and
// tabs, and shows the rest.
TEST(ScreenLayoutTest, ControlCharactersAreShownVisibly) {
  const struct {
    std::u16string text;
    std::u16string line;
    std::u16string output;
  } rows[] = {
      {u"plain", u"plain", u"plain"},
      {u"a\tb", u"a^Ib", u"a\tb"},
      {u"\x1b[2J", u"^[[2J", u"^[[2J"},
      {u"\x1b]0;title\x07", u"^[]0;title^G", u"^[]0;title^G"},
      {u"x\r\ny\n", u"x^M^Jy^J", u"x\r\ny\n"},
      {u"x\ry\r", u"x^My^M", u"x^My^M"},
      {u"back\b\b", u"back^H^H", u"back^H^H"},
      {u"del\x7f", u"del^?", u"del^?"},
      {u"c1\x9b", u"c1\ufffd", u"c1\ufffd"},
      {u"\u00e9\u4e2d", u"\u00e9\u4e2d", u"\u00e9\u4e2d"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(support::ToUtf8(row.text));
    EXPECT_EQ(demo::DisplayText(row.text), row.line);
    EXPECT_EQ(demo::TerminalSafeText(row.text), row.output);
  }
  EXPECT_EQ(demo::TextWidth(u"a\u4e2d\u0301b"), 4);
}

}  // namespace
