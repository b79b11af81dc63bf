// The plug-in's character classes: fixed below U+0100, Windows' types above,
// U+FFFF in none.
#include "base/char_class.h"

#include <gtest/gtest.h>

#include <iomanip>

namespace {

TEST(CharClassTest, Classes) {
  static const struct {
    char16_t unit;
    bool whiteSpace;
    bool control;
    bool letter;
  } kCases[] = {
      // Controls and white space below U+0100, at each edge.
      {0x0000, false, true, false},
      {0x0008, false, true, false},
      {0x0009, true, true, false},
      {0x000D, true, true, false},
      {0x000E, false, true, false},
      {0x001F, false, true, false},
      {0x0020, true, false, false},
      {0x0021, false, false, false},
      {0x007E, false, false, false},
      {0x007F, false, true, false},
      {0x0085, false, true, false},  // Windows calls it space; the fixed class does not
      {0x009F, false, true, false},
      {0x00A0, true, false, false},
      {0x00A1, false, false, false},
      // Letters below U+0100, at each edge.
      {0x0040, false, false, false},
      {0x0041, false, false, true},
      {0x005A, false, false, true},
      {0x005B, false, false, false},
      {0x0060, false, false, false},
      {0x0061, false, false, true},
      {0x007A, false, false, true},
      {0x007B, false, false, false},
      {0x00AA, false, false, false},  // Windows calls these alphabetic; the fixed class does not
      {0x00B5, false, false, false},
      {0x00BF, false, false, false},
      {0x00C0, false, false, true},
      {0x00D6, false, false, true},
      {0x00D7, false, false, false},  // multiplication sign
      {0x00D8, false, false, true},
      {0x00F6, false, false, true},
      {0x00F7, false, false, false},  // division sign
      {0x00F8, false, false, true},
      {0x00FF, false, false, true},
      // Above U+00FF Windows' types decide.
      {0x0100, false, false, true},
      {0x0660, false, false, false},  // Arabic-Indic digit zero
      {0x1680, true, false, false},
      {0x200B, false, true, false},  // zero-width space is a control, not white space
      {0x2028, true, false, false},
      {0x2029, true, false, false},
      {0x2160, false, false, true},  // Roman numeral one
      {0x3000, true, false, false},
      {0x4E00, false, false, true},
      {0xD800, false, false, false},
      {0xDFFF, false, false, false},
      {0xE000, false, false, false},
      {0xFEFF, false, true, false},
      {0xFF21, false, false, true},
      {0xFFFE, false, false, false},
      {0xFFFF, false, false, false},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << std::uppercase << std::setw(4)
                                    << std::setfill('0') << static_cast<unsigned>(row.unit));
    EXPECT_EQ(IsWhiteSpace(row.unit), row.whiteSpace);
    EXPECT_EQ(IsControl(row.unit), row.control);
    EXPECT_EQ(IsLetter(row.unit), row.letter);
  }
}

}  // namespace
