// FormatMessageW for system texts, as the plug-in calls it. Natively the
// stand-in answers with Windows' English texts; under Wine the real call
// answers with Wine's, which differ in wording: each row records both.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "tests/support/wine.h"

namespace {

using platform::DWORD;
using testing_support::WindowsOrWine;

constexpr DWORD kOneLine = platform::FORMAT_MESSAGE_FROM_SYSTEM |
                           platform::FORMAT_MESSAGE_IGNORE_INSERTS |
                           platform::FORMAT_MESSAGE_MAX_WIDTH_MASK;
constexpr DWORD kAsStored =
    platform::FORMAT_MESSAGE_FROM_SYSTEM | platform::FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr size_t kBufferSize = 1024;
constexpr char16_t kUntouched = u'#';

struct Call {
  DWORD result;
  std::u16string buffer;  // The whole buffer, terminator and the untouched rest included.
};

Call Format(DWORD flags, DWORD code, DWORD size) {
  Call call{0, std::u16string(kBufferSize + 8, kUntouched)};
  call.result =
      platform::FormatMessageW(flags, nullptr, code, 0, call.buffer.data(), size, nullptr);
  return call;
}

// The text up to the terminator, checking that nothing after it was touched
// beyond the given size.
std::u16string Text(const Call& call, DWORD size) {
  for (size_t i = size; i < call.buffer.size(); ++i) {
    if (call.buffer[i] != kUntouched) ADD_FAILURE() << "wrote past the size at " << i;
  }
  return std::u16string(call.buffer.c_str());
}

std::u16string AccessDenied() {
  return WindowsOrWine(u"Access is denied.", u"Access denied.");
}

// The width mask turns the line break that ends each text into one blank,
// which the result counts; without it the line break stays.
TEST(FormatMessageTest, OneLineOrAsStored) {
  static const struct {
    DWORD flags;
    const char16_t* end;
  } kRows[] = {{kOneLine, u" "}, {kAsStored, u"\r\n"}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.flags);
    const std::u16string expected = AccessDenied() + row.end;
    const Call call = Format(row.flags, 5, kBufferSize);
    EXPECT_EQ(Text(call, kBufferSize), expected);
    EXPECT_EQ(call.result, expected.size());
  }
}

// A text that does not fit with its terminator gives 0, and the buffer holds
// as much of the text as fits, terminated; a size of 0 leaves it untouched.
TEST(FormatMessageTest, BufferTooSmall) {
  const std::u16string text = AccessDenied() + u" ";
  const DWORD length = static_cast<DWORD>(text.size());
  static const struct {
    DWORD sizeBeyondLength;  // The buffer size is the text's length plus this.
    bool fits;
  } kCases[] = {
      {1, true},   // exactly full
      {0, false},  // one short: the terminator does not fit
  };
  for (const auto& row : kCases) {
    const DWORD size = length + row.sizeBeyondLength;
    SCOPED_TRACE(size);
    const Call call = Format(kOneLine, 5, size);
    EXPECT_EQ(call.result, row.fits ? length : 0);
    EXPECT_EQ(Text(call, size), row.fits ? text : text.substr(0, size - 1));
  }
  const Call none = Format(kOneLine, 5, 0);
  EXPECT_EQ(none.result, 0u);
  EXPECT_EQ(none.buffer[0], kUntouched);
}

// Codes without a text give 0 and leave the buffer alone; the caller then
// writes its own.
TEST(FormatMessageTest, UnknownCodes) {
  for (const DWORD code : {0x2000FFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    const Call call = Format(kOneLine, code, kBufferSize);
    EXPECT_EQ(call.result, 0u);
    EXPECT_EQ(call.buffer[0], kUntouched);
  }
}

}  // namespace
