// The stand-in host's canonical file names.
#include <gtest/gtest.h>

#include <string>

#include "host/takecmd.h"

namespace {

struct TrueNameCase {
  const char16_t* name;
  const char16_t* expected;
};

class TrueNameTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }  // current directory C:\Users\Marivex
  static std::u16string TrueName(const char16_t* name) {
    char16_t out[8192];
    QueryTrueName(name, out);
    return out;
  }
};

TEST_F(TrueNameTest, ResolvesLikeWindows) {
  static const TrueNameCase kCases[] = {
      // Relative to the current directory.
      {u"a.txt", u"C:\\Users\\Marivex\\a.txt"},
      {u"\"a b.txt\"", u"C:\\Users\\Marivex\\a b.txt"},
      {u"", u"C:\\Users\\Marivex"},
      {u".", u"C:\\Users\\Marivex"},
      {u"..", u"C:\\Users"},
      {u"..\\..", u"C:\\"},
      {u"..\\..\\..\\x", u"C:\\x"},
      {u"...", u"C:\\"},
      {u"...\\Windows", u"C:\\Windows"},
      {u"sub/dir\\file", u"C:\\Users\\Marivex\\sub\\dir\\file"},
      {u"a\\.\\b\\..\\c", u"C:\\Users\\Marivex\\a\\c"},
      // Drives.
      {u"C:\\Temp\\a.txt", u"C:\\Temp\\a.txt"},
      {u"c:/temp//a.txt", u"C:\\temp\\a.txt"},
      {u"\\Temp\\x", u"C:\\Temp\\x"},
      {u"/Temp/x", u"C:\\Temp\\x"},
      {u"C:x", u"C:\\Users\\Marivex\\x"},
      {u"D:x", u"D:\\x"},
      {u"d:", u"D:\\"},
      {u"C:\\..\\..", u"C:\\"},
      // Trailing separators, dots and blanks.
      {u"C:\\a\\", u"C:\\a"},
      {u"C:\\a.", u"C:\\a"},
      {u"C:\\a. . ", u"C:\\a"},
      {u"C:\\a.b", u"C:\\a.b"},
      // UNC names keep their server and share.
      {u"\\\\server\\share\\dir\\..\\f", u"\\\\server\\share\\f"},
      {u"//server/share/a", u"\\\\server\\share\\a"},
      {u"\\\\server\\share\\..\\..", u"\\\\server\\share"},
      {u"\\\\server", u"\\\\server"},
      // Device and long-path names are taken as they stand.
      {u"\\\\?\\C:\\x\\..\\y", u"\\\\?\\C:\\x\\..\\y"},
      {u"\\\\.\\COM1", u"\\\\.\\COM1"},
      // Characters other than separators and dots are kept as typed.
      {u"C:\\Temp\\%20 \u00e9\u4e2d.txt", u"C:\\Temp\\%20 \u00e9\u4e2d.txt"},
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(TrueName(kCases[row].name), kCases[row].expected);
  }
}

TEST_F(TrueNameTest, FollowsTheCurrentDirectory) {
  ASSERT_EQ(HostSetCurrentDirectory(u"D:\\Work\\src"), 0);
  EXPECT_EQ(TrueName(u"x"), u"D:\\Work\\src\\x");
  EXPECT_EQ(TrueName(u"C:x"), u"C:\\Users\\Marivex\\x");
  EXPECT_EQ(TrueName(u"\\x"), u"D:\\x");
  ASSERT_EQ(HostSetCurrentDirectory(u".."), 0);
  EXPECT_EQ(TrueName(u"x"), u"D:\\Work\\x");
  EXPECT_EQ(HostSetCurrentDirectory(u"\\\\server\\share"), 1);
}

TEST_F(TrueNameTest, CutsAtTheBufferWithoutWritingPastIt) {
  const std::u16string longName = u"C:\\" + std::u16string(9000, u'x');
  std::u16string out(8200, u'#');
  QueryTrueName(longName.c_str(), out.data());
  EXPECT_EQ(out[8190], u'x');
  EXPECT_EQ(out[8191], u'\0');
  EXPECT_EQ(out[8192], u'#');
}

}  // namespace
