// FormatSystemError: one line for a status code, from Windows' text or the
// "Error <code>" fallback, without trailing white space.
#include <gtest/gtest.h>

#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "tests/fixtures/wine.h"

namespace {

using testing_support::WindowsOrWine;

TEST(SystemErrorTest, Texts) {
  static const struct {
    int32_t code;
    const char16_t* windows;
    const char16_t* wine;  // Wine's English text where it differs, else null.
  } kCases[] = {
      // No code known: Windows is not asked (it has no text for all bits set).
      {-1, u"Unknown error", nullptr},
      // Known codes lose the blank that stands for the line break.
      {0, u"The operation completed successfully.", u"Success."},
      {5, u"Access is denied.", u"Access denied."},
      {112, u"There is not enough space on the disk.", u"Disk full."},
      {1016,
       u"An I/O operation initiated by the registry failed unrecoverably. The registry could not "
       u"read in, or write out, or flush, one of the files that contain the system's image of the "
       u"registry.",
       u"I/O to registry failed."},
      // Codes without a text, in signed decimal.
      {0x2000FFFF, u"Error 536936447", nullptr},
      {-2, u"Error -2", nullptr},
      {static_cast<int32_t>(0x80000000u), u"Error -2147483648", nullptr},
      {static_cast<int32_t>(0xDEADBEEFu), u"Error -559038737", nullptr},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.code);
    std::u16string buffer(kMaxNameLen + 1, u'#');
    FormatSystemError(row.code, buffer.data());
    EXPECT_EQ(std::u16string(buffer.c_str()), WindowsOrWine(row.windows, row.wine));
    EXPECT_EQ(buffer[kMaxNameLen], u'#') << "wrote past the buffer";
  }
}

}  // namespace
