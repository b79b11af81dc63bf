// wsprintfW: the formats the plug-in uses and the 1,024-character limit, the
// same rows natively (stand-in) and under Wine (user32's own).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace {

constexpr size_t kLimit = 1024;  // Characters wsprintfW may write, terminator included.
constexpr size_t kBufferSize = 2 * kLimit;
constexpr char16_t kUntouched = u'#';

struct Call {
  int result;
  std::u16string text;  // Up to the terminator.
};

template <typename... Arguments>
Call Format(const char16_t* format, Arguments... arguments) {
  std::u16string buffer(kBufferSize, kUntouched);
  const int result = platform::wsprintfW(buffer.data(), format, arguments...);
  for (size_t i = kLimit; i < buffer.size(); ++i) {
    if (buffer[i] != kUntouched) {
      ADD_FAILURE() << "wrote past the limit at " << i;
      break;
    }
  }
  return {result, std::u16string(buffer.c_str())};
}

void ExpectFormat(const Call& call, const char16_t* expected) {
  EXPECT_EQ(call.text, expected);
  EXPECT_EQ(call.result, static_cast<int>(std::char_traits<char16_t>::length(expected)));
}

TEST(WsprintfTest, SignedDecimal) {
  static const struct {
    const char16_t* format;
    int value;
    const char16_t* expected;
  } kCases[] = {
      {u"%d", 0, u"0"},
      {u"%d", -1, u"-1"},
      {u"%d", INT_MAX, u"2147483647"},
      {u"%d", INT_MIN, u"-2147483648"},
      {u"Error %d", 1018, u"Error 1018"},
      {u"Error %d", static_cast<int>(0x80070005u), u"Error -2147024891"},
      {u"%i", -7, u"-7"},
      {u"%ld", -5, u"-5"},
      {u"%5d|", 42, u"   42|"},
      {u"%-5d|", 42, u"42   |"},
      {u"%05d", -42, u"-0042"},
      {u"%.5d", 42, u"00042"},
      // No "+", " " or "*" here: the character stands for itself.
      {u"%+d", 5, u"+d"},
      {u"% d", 5, u" d"},
      {u"%*d", 5, u"*d"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::Message() << "row for value " << row.value);
    ExpectFormat(Format(row.format, row.value), row.expected);
  }
}

TEST(WsprintfTest, UnsignedAndHexadecimal) {
  static const struct {
    const char16_t* format;
    unsigned value;
    const char16_t* expected;
  } kCases[] = {
      {u"%08x", 0xDEADBEEFu, u"deadbeef"},
      {u"%08x", 0x1Au, u"0000001a"},
      {u"%08X", 0xABCu, u"00000ABC"},
      {u"Error 0x%08x converting string", 0x80004005u, u"Error 0x80004005 converting string"},
      {u"%x", 0xFFFFFFFFu, u"ffffffff"},
      {u"%lx", 0xFFFFFFFFu, u"ffffffff"},
      {u"%u", 0xFFFFFFFFu, u"4294967295"},
      {u"%#x", 255u, u"0xff"},
      {u"%#X", 255u, u"0XFF"},
      {u"%o", 8u, u"o"},  // no octal
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::Message() << "row for value " << row.value);
    ExpectFormat(Format(row.format, row.value), row.expected);
  }
  ExpectFormat(Format(u"%I64d", LLONG_MIN), u"-9223372036854775808");
  ExpectFormat(Format(u"%I64u", ULLONG_MAX), u"18446744073709551615");
  ExpectFormat(Format(u"%I64x", 0x123456789ABCDEFull), u"123456789abcdef");
}

TEST(WsprintfTest, TextAndCharacters) {
  static const struct {
    const char16_t* format;
    const char16_t* value;
    const char16_t* expected;
  } kCases[] = {
      {u"%s", u"abc", u"abc"},      {u"%s", u"", u""},
      {u"%s", nullptr, u"(null)"},  {u"%5s|", u"ab", u"   ab|"},
      {u"%-5s|", u"ab", u"ab   |"}, {u"%.3s", u"abcdef", u"abc"},
      {u"%ls", u"wide", u"wide"},   {u"[%s]", u"\u00e9\u3000\u2028", u"[\u00e9\u3000\u2028]"},
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    SCOPED_TRACE(row);
    ExpectFormat(Format(kCases[row].format, kCases[row].value), kCases[row].expected);
  }
  ExpectFormat(Format(u"%s\\%s", u"HKEY_CURRENT_USER", u"Software"),
               u"HKEY_CURRENT_USER\\Software");
  ExpectFormat(Format(u"%hs|%S", "narrow", "too"), u"narrow|too");
  ExpectFormat(Format(u"%c%c", static_cast<int>(u'x'), 0x263A), u"x\u263A");
  ExpectFormat(Format(u"100%%"), u"100%");
  ExpectFormat(Format(u"%q"), u"q");      // not a type: the character itself
  ExpectFormat(Format(u"abc%"), u"abc");  // a lone "%" at the end vanishes
}

// At most 1,023 characters and the terminator are written. A text that fills
// the buffer is reported as 1,024 characters, even the one of exactly 1,023.
TEST(WsprintfTest, LongOutputsStopAtTheLimit) {
  static const struct {
    size_t length;  // Of the text the format would produce.
    int result;
  } kCases[] = {
      {1021, 1021}, {1022, 1022},  // the longest text reported as it is
      {1023, 1024},                // fills the buffer exactly
      {1024, 1024},                // one over: cut
      {1025, 1024}, {5000, 1024},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.length);
    const size_t written = row.length < kLimit ? row.length : kLimit - 1;
    const std::u16string argument(row.length, u'a');
    const Call fromArgument = Format(u"%s", argument.c_str());
    EXPECT_EQ(fromArgument.result, row.result);
    EXPECT_EQ(fromArgument.text, argument.substr(0, written));

    const std::u16string literal(row.length, u'b');
    const Call fromFormat = Format(literal.c_str());
    EXPECT_EQ(fromFormat.result, row.result);
    EXPECT_EQ(fromFormat.text, literal.substr(0, written));

    // A number that crosses the limit is cut between its digits.
    const std::u16string lead = std::u16string(row.length - 6, u'c') + u"%d";
    const Call number = Format(lead.c_str(), -12345);
    EXPECT_EQ(number.result, row.result);
    EXPECT_EQ(number.text, (std::u16string(row.length - 6, u'c') + u"-12345").substr(0, written));
  }
}

// A field wider than the room left shrinks its padding and precision zeros
// first, so the value itself still shows.
TEST(WsprintfTest, WideFieldsGiveWayToTheValue) {
  const auto spaces = [](size_t count) { return std::u16string(count, u' '); };
  const auto zeros = [](size_t count) { return std::u16string(count, u'0'); };
  const Call padded = Format(u"%2000d", 12345);
  EXPECT_EQ(padded.result, 1024);
  EXPECT_EQ(padded.text, spaces(1018) + u"12345");
  const Call afterText = Format(u"0123456789%2000d", 12345);
  EXPECT_EQ(afterText.text, std::u16string(u"0123456789") + spaces(1008) + u"12345");
  const Call precise = Format(u"%.2000d", 12345);
  EXPECT_EQ(precise.text, zeros(1018) + u"12345");
  const Call zeroPadded = Format(u"%02000d", -12345);
  EXPECT_EQ(zeroPadded.text, std::u16string(u"-") + zeros(1017) + u"12345");
  const Call leftAligned = Format(u"%-2000d|", 12345);
  EXPECT_EQ(leftAligned.text, u"12345" + spaces(1018));
  const Call text = Format(u"%2000s", u"abc");
  EXPECT_EQ(text.text, spaces(1020) + u"abc");
  const Call exact = Format(u"%1022sX", u"abc");  // 1,023 characters: fills the buffer
  EXPECT_EQ(exact.result, 1024);
  EXPECT_EQ(exact.text, spaces(1019) + u"abcX");
}

}  // namespace
