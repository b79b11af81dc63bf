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

// Windows' text and, where Wine's English text differs, Wine's (null when the
// same).
struct SystemText {
  DWORD code;
  const char16_t* windows;
  const char16_t* wine;
};

const SystemText kSystemTexts[] = {
    // Files and paths.
    {2, u"The system cannot find the file specified.", u"File not found."},
    {3, u"The system cannot find the path specified.", u"Path not found."},
    {4, u"The system cannot open the file.", u"Too many open files."},
    {32, u"The process cannot access the file because it is being used by another process.",
     u"Sharing violation."},
    {33,
     u"The process cannot access the file because another process has locked a portion of the "
     u"file.",
     u"Lock violation."},
    {123, u"The filename, directory name, or volume label syntax is incorrect.", u"Invalid name."},
    {161, u"The specified path is invalid.", u"Path is invalid."},
    {206, u"The filename or extension is too long.", u"File name is too long."},
    // Devices and disks.
    {19, u"The media is write protected.", u"Write protected."},
    {21, u"The device is not ready.", u"Not ready."},
    {29, u"The system cannot write to the specified device.", u"Write fault."},
    {30, u"The system cannot read from the specified device.", u"Read fault."},
    {31, u"A device attached to the system is not functioning.", u"General failure."},
    {39, u"The disk is full.", u"Disk full."},
    {112, u"There is not enough space on the disk.", u"Disk full."},
    {1117, u"The request could not be performed because of an I/O device error.",
     u"I/O device error."},
    {1392, u"The file or directory is corrupted and unreadable.", u"File or directory corrupt."},
    // Access, handles, arguments and memory.
    {0, u"The operation completed successfully.", u"Success."},
    {1, u"Incorrect function.", u"Invalid function."},
    {5, u"Access is denied.", u"Access denied."},
    {6, u"The handle is invalid.", u"Invalid handle."},
    {8, u"Not enough memory resources are available to process this command.",
     u"Not enough memory."},
    {12, u"The access code is invalid.", u"Invalid access."},
    {13, u"The data is invalid.", u"Invalid data."},
    {14, u"Not enough memory resources are available to complete this operation.",
     u"Out of memory."},
    {50, u"The request is not supported.", u"Request not supported."},
    {87, u"The parameter is incorrect.", u"Invalid parameter."},
    {120, u"This function is not supported on this system.", u"Call not implemented."},
    {122, u"The data area passed to a system call is too small.", u"Insufficient buffer."},
    {234, u"More data is available.", u"More data available."},
    {259, u"No more data is available.", u"No more data available."},
    {998, u"Invalid access to memory location.", u"No access to memory location."},
    {1314, u"A required privilege is not held by the client.", u"Privilege not held."},
    {1450, u"Insufficient system resources exist to complete the requested service.",
     u"No system resources."},
    {1460, u"This operation returned because the timeout period expired.", u"Timeout."},
    {1816, u"Not enough quota is available to process this command.", u"Not enough quota."},
    // The registry.
    {1008, u"An attempt was made to reference a token that does not exist.", u"Nonexistent token."},
    {1009, u"The configuration registry database is corrupt.", u"Registry corrupt."},
    {1010, u"The configuration registry key is invalid.", u"Invalid key."},
    {1011, u"The configuration registry key could not be opened.", u"Can't open registry key."},
    {1012, u"The configuration registry key could not be read.", u"Can't read registry key."},
    {1013, u"The configuration registry key could not be written.", u"Can't write registry key."},
    {1014,
     u"One of the files in the registry database had to be recovered by use of a log or alternate "
     u"copy. The recovery was successful.",
     u"Registry has been recovered."},
    {1015,
     u"The registry is corrupted. The structure of one of the files containing registry data is "
     u"corrupted, or the system's memory image of the file is corrupted, or the file could not be "
     u"recovered because the alternate copy or log was absent or corrupted.",
     u"Registry is corrupt."},
    {1016,
     u"An I/O operation initiated by the registry failed unrecoverably. The registry could not "
     u"read "
     u"in, or write out, or flush, one of the files that contain the system's image of the "
     u"registry.",
     u"I/O to registry failed."},
    {1017,
     u"The system has attempted to load or restore a file into the registry, but the specified "
     u"file is not in a registry file format.",
     u"Not registry file."},
    {1018, u"Illegal operation attempted on a registry key that has been marked for deletion.",
     u"Key deleted."},
    {1019, u"System could not allocate the required space in a registry log.",
     u"No registry log space."},
    {1020, u"Cannot create a symbolic link in a registry key that already has subkeys or values.",
     u"Registry key has subkeys."},
    {1021, u"Cannot create a stable subkey under a volatile parent key.",
     u"Subkey must be volatile."},
};

// The width mask turns the line break that ends each text into one blank,
// which the result counts.
TEST(FormatMessageTest, SystemTextsOnOneLine) {
  for (const SystemText& row : kSystemTexts) {
    SCOPED_TRACE(row.code);
    const std::u16string expected = std::u16string(WindowsOrWine(row.windows, row.wine)) + u" ";
    const Call call = Format(kOneLine, row.code, kBufferSize);
    EXPECT_EQ(Text(call, kBufferSize), expected);
    EXPECT_EQ(call.result, expected.size());
  }
}

TEST(FormatMessageTest, WithoutTheWidthMaskTheLineBreakStays) {
  for (const DWORD code : {2u, 1015u}) {
    SCOPED_TRACE(code);
    const SystemText* row = nullptr;
    for (const SystemText& candidate : kSystemTexts) {
      if (candidate.code == code) row = &candidate;
    }
    ASSERT_NE(row, nullptr);
    const std::u16string expected =
        std::u16string(WindowsOrWine(row->windows, row->wine)) + u"\r\n";
    const Call call = Format(kAsStored, code, kBufferSize);
    EXPECT_EQ(Text(call, kBufferSize), expected);
    EXPECT_EQ(call.result, expected.size());
  }
}

// A text that does not fit with its terminator gives 0, and the buffer holds
// as much of the text as fits, terminated; a size of 0 leaves it untouched.
TEST(FormatMessageTest, BufferTooSmall) {
  const std::u16string text =
      std::u16string(WindowsOrWine(u"Access is denied.", u"Access denied.")) + u" ";
  const DWORD length = static_cast<DWORD>(text.size());
  static const struct {
    DWORD sizeBeyondLength;  // The buffer size is the text's length plus this.
    bool fits;
  } kCases[] = {
      {2, true},   // room to spare
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
  const Call one = Format(kOneLine, 5, 1);
  EXPECT_EQ(one.result, 0u);
  EXPECT_EQ(Text(one, 1), u"");
  const Call none = Format(kOneLine, 5, 0);
  EXPECT_EQ(none.result, 0u);
  EXPECT_EQ(none.buffer[0], kUntouched);
}

// Codes without a text give 0 and leave the buffer alone; the caller then
// writes its own.
TEST(FormatMessageTest, UnknownCodes) {
  for (const DWORD code : {0x2000FFFFu, 0x80000000u, 0xDEADBEEFu, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    const Call call = Format(kOneLine, code, kBufferSize);
    EXPECT_EQ(call.result, 0u);
    EXPECT_EQ(call.buffer[0], kUntouched);
  }
}

}  // namespace
