// Message boxes drawn as framed text.
#include "demo/message_box.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MessageBoxTest, FramesCaptionAndLines) {
  const struct {
    const char* what;
    std::u16string text;
    std::u16string caption;
    std::string box;
  } rows[] = {
      {"lines wider than the caption", u"Line one\r\n\n\tx\n", u"Cap",
       "┌─ Cap ─────┐\n"
       "│ Line one  │\n"
       "│           │\n"
       "│         x │\n"
       "└───────────┘\n"},
      {"a caption wider than the lines, no final line break", u"ab", u"Long caption",
       "┌─ Long caption ─┐\n"
       "│ ab             │\n"
       "└────────────────┘\n"},
      {"trailing blanks kept, wide characters counted twice", u"\u4e2d  \nx", u"",
       "┌─  ───┐\n"
       "│ 中   │\n"
       "│ x    │\n"
       "└──────┘\n"},
      {"empty text", u"", u"C",
       "┌─ C ─┐\n"
       "│     │\n"
       "└─────┘\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(demo::FramedMessageBox(row.text, row.caption), row.box);
  }
}

}  // namespace
