// GetStringTypeW with CT_CTYPE1. Natively the stand-in answers from the
// generated table; in the Windows build the real call answers and the same
// table is compiled in, so the table is held against Windows' own types.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>

#include "platform/platform.h"
#include "platform/posix/ctype1_table.h"

namespace {

using platform::CT_CTYPE1;
using platform::WORD;

constexpr WORD kUntouched = 0xEEEE;

std::string Unit(uint32_t unit) {
  std::ostringstream text;
  text << "U+" << std::hex << std::uppercase << std::setw(4) << std::setfill('0') << unit;
  return text.str();
}

WORD TypeOf(char16_t unit) {
  WORD type = kUntouched;
  EXPECT_TRUE(platform::GetStringTypeW(CT_CTYPE1, &unit, 1, &type)) << Unit(unit);
  return type;
}

// Natively the stand-in answers from the table itself; only Windows' own
// call can disagree with it.
#if defined(_WIN32)
TEST(CharTypeTest, EveryCodeUnitMatchesTheTable) {
  size_t mismatches = 0;
  for (uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const WORD actual = TypeOf(static_cast<char16_t>(unit));
    const WORD expected = standin::CharType1(static_cast<char16_t>(unit));
    if (actual != expected && ++mismatches <= 20) {
      ADD_FAILURE() << Unit(unit) << ": 0x" << std::hex << actual << ", table has 0x" << expected;
    }
  }
  EXPECT_EQ(mismatches, 0u);
}
#endif

TEST(CharTypeTest, KnownCharacters) {
  static const struct {
    char16_t unit;
    WORD type;
  } kCases[] = {
      // Below U+0100 the plug-in uses fixed classes, but the call answers all.
      {0x0009, 0x0268},  // tab: space, control, blank
      {0x0020, 0x0248},
      {0x0041, 0x0381},  // A: upper, hexadecimal digit, alphabetic
      {0x0085, 0x0228},  // next line: space and control
      {0x00A0, 0x0248},  // no-break space: space and blank
      {0x00AA, 0x0312},  // feminine ordinal: lower, punctuation, alphabetic
      // Above U+00FF these types decide the plug-in's classes.
      {0x0100, 0x0301},
      {0x1680, 0x0208},  // ogham space mark: space, no blank
      {0x200B, 0x0220},  // zero-width space: control, no space
      {0x2028, 0x0208},  // line separator
      {0x2029, 0x0208},  // paragraph separator
      {0x3000, 0x0248},  // ideographic space
      {0x4E00, 0x0300},
      {0xFEFF, 0x0260},  // byte order mark: control and blank
      {0xFF21, 0x0381},  // fullwidth A
      // Lone surrogates and private use are defined, nothing more.
      {0xD800, 0x0200},
      {0xDBFF, 0x0200},
      {0xDC00, 0x0200},
      {0xDFFF, 0x0200},
      {0xE000, 0x0200},
      {0xFFFD, 0x0200},
      // Noncharacters have no type at all.
      {0xFFFE, 0x0000},
      {0xFFFF, 0x0000},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(Unit(row.unit));
    EXPECT_EQ(TypeOf(row.unit), row.type);
  }
}

TEST(CharTypeTest, ArgumentRules) {
  static const char16_t kText[] = u"a b";
  static const WORD kTypes[] = {0x0382, 0x0248, 0x0382, 0x0220};  // a, blank, b, terminator
  constexpr int kNoText = -1;
  static const struct {
    platform::DWORD infoType;
    int start;  // Where in kText the call begins, or kNoText for a null pointer.
    int length;
    bool succeeds;
    int typed;  // Entries written from kTypes[start] on; the rest stay untouched.
  } kCases[] = {
    {CT_CTYPE1, 0, -1, true, 4},  // -1 types the terminator too
    {CT_CTYPE1, 3, -1, true, 1},  // an empty text: only the terminator
    {CT_CTYPE1, 0, 2, true, 2},
    {CT_CTYPE1, 0, 0, true, 0},
    {0, 0, 3, false, 0},  // no such type
    {3, 0, 3, false, 0},  // two types at once
    {5, 0, 3, false, 0},
    {8, 0, 3, false, 0},
    {CT_CTYPE1, kNoText, 3, false, 0},
    {CT_CTYPE1, kNoText, 0, false, 0},
#if !defined(_WIN32)
    // Wine crashes on a length below -1; the stand-in fails.
    {CT_CTYPE1, 0, -2, false, 0},
#endif
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    const auto& c = kCases[row];
    SCOPED_TRACE(row);
    WORD types[6];
    std::fill(std::begin(types), std::end(types), kUntouched);
    const char16_t* const text = c.start == kNoText ? nullptr : kText + c.start;
    EXPECT_EQ(platform::GetStringTypeW(c.infoType, text, c.length, types) != 0, c.succeeds);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(types[i], i < c.typed ? kTypes[c.start + i] : kUntouched) << i;
    }
  }
#if !defined(_WIN32)
  // Wine crashes on a null output too; the stand-in fails.
  EXPECT_FALSE(platform::GetStringTypeW(CT_CTYPE1, kText, 1, nullptr));
#endif
}

}  // namespace
