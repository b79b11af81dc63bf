// wsprintfW with the formats the plug-in passes ("%d" and "Error %d") and
// user32's limit of 1,024 characters, the same rows natively (the stand-in)
// and under Wine (user32's own).
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/platform.h"
#include "tests/fixtures/guarded_buffer.h"

namespace {

constexpr size_t kLimit = 1024;  // Characters wsprintfW may write, terminator included.

struct Call {
  int result;
  std::u16string text;  // Up to the terminator.
};

Call Format(const char16_t* format, int value) {
  testing_support::GuardedBuffer buffer(kLimit);
  const int result = platform::wsprintfW(buffer.Data(), format, value);
  EXPECT_TRUE(buffer.GuardIntact()) << "wrote past the limit";
  return {result, buffer.Text()};
}

TEST(WsprintfTest, SignedDecimal) {
  static const struct {
    const char16_t* format;
    int value;
    const char16_t* expected;
  } kCases[] = {
      {u"%d", 0, u"0"},
      {u"%d", 7, u"7"},
      {u"%d", INT_MAX, u"2147483647"},
      {u"Error %d", 1018, u"Error 1018"},
      {u"Error %d", -1, u"Error -1"},
      {u"Error %d", INT_MIN, u"Error -2147483648"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::Message() << "row for value " << row.value);
    const Call call = Format(row.format, row.value);
    EXPECT_EQ(call.text, row.expected);
    EXPECT_EQ(call.result, static_cast<int>(call.text.size()));
  }
}

// At most 1,023 characters and the terminator are written, a number that
// crosses the limit cut between its digits. A text that fills the buffer is
// reported as 1,024 characters, even the one of exactly 1,023.
TEST(WsprintfTest, LongOutputsStopAtTheLimit) {
  static const struct {
    size_t length;  // Of the text the format would produce.
    int result;
  } kCases[] = {
      {1022, 1022},  // the longest text reported as it is
      {1023, 1024},  // fills the buffer exactly
      {1024, 1024},  // one over: cut
      {5000, 1024},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.length);
    const std::u16string lead(row.length - 6, u'c');
    const Call call = Format((lead + u"%d").c_str(), -12345);
    EXPECT_EQ(call.result, row.result);
    EXPECT_EQ(call.text, (lead + u"-12345").substr(0, std::min(row.length, kLimit - 1)));
  }
}

}  // namespace
