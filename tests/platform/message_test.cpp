// FormatMessageW for system texts, as the plug-in calls it. Natively the
// stand-in answers with Windows' English texts; under Wine the real call
// answers with Wine's, which differ in wording: each row records both.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "tests/fixtures/guarded_buffer.h"
#include "tests/fixtures/wine.h"

namespace {

using platform::DWORD;
using testing_support::GuardedBuffer;
using testing_support::WindowsOrWine;

constexpr DWORD kOneLine = platform::FORMAT_MESSAGE_FROM_SYSTEM |
                           platform::FORMAT_MESSAGE_IGNORE_INSERTS |
                           platform::FORMAT_MESSAGE_MAX_WIDTH_MASK;
constexpr DWORD kAsStored =
    platform::FORMAT_MESSAGE_FROM_SYSTEM | platform::FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr size_t kBufferSize = 1024;

// Formats a code's text into the buffer, with its capacity as the size.
DWORD Format(GuardedBuffer& buffer, DWORD flags, DWORD code) {
  const DWORD result = platform::FormatMessageW(flags, nullptr, code, 0, buffer.Data(),
                                                static_cast<DWORD>(buffer.Capacity()), nullptr);
  EXPECT_TRUE(buffer.GuardIntact()) << "wrote past the size";
  return result;
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
    GuardedBuffer buffer(kBufferSize);
    EXPECT_EQ(Format(buffer, row.flags, 5), expected.size());
    EXPECT_EQ(buffer.Text(), expected);
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
    GuardedBuffer buffer(size);
    EXPECT_EQ(Format(buffer, kOneLine, 5), row.fits ? length : 0);
    EXPECT_EQ(buffer.Text(), row.fits ? text : text.substr(0, size - 1));
  }
  GuardedBuffer none(0);
  EXPECT_EQ(Format(none, kOneLine, 5), 0u);
}

// Codes without a text give 0 and leave the buffer alone; the caller then
// writes its own.
TEST(FormatMessageTest, UnknownCodes) {
  for (const DWORD code : {0x2000FFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    GuardedBuffer buffer(kBufferSize, u"", false);
    EXPECT_EQ(Format(buffer, kOneLine, code), 0u);
    EXPECT_EQ(buffer.Data()[0], GuardedBuffer::kFiller);
  }
}

}  // namespace
