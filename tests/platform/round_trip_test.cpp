// A drive path's URL converts back to the same path: what the @FILE2URI fuzz
// target relies on for canonical drive names. Natively this holds the
// stand-ins to it, under Wine Windows' own functions. A "?" ends the escaped
// part of a URL, so names with one are left out of the rule (the corpus's
// rows of "C:\a?b" show why).
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "support/utf.h"

namespace {

std::u16string UrlOf(const std::u16string& path) {
  std::u16string url(8192, u'\0');
  platform::DWORD length = 8192;
  EXPECT_EQ(platform::UrlCreateFromPathW(path.c_str(), url.data(), &length, 0), platform::S_OK);
  return url.c_str();
}

std::u16string PathOf(const std::u16string& url) {
  std::u16string path(8192, u'\0');
  platform::DWORD length = 8192;
  EXPECT_EQ(platform::PathCreateFromUrlW(url.c_str(), path.data(), &length, 0), platform::S_OK);
  return path.c_str();
}

TEST(UrlRoundTripTest, DrivePathsComeBack) {
  static const char16_t* const kPaths[] = {
      u"C:\\",
      u"C:\\Temp\\a.txt",
      u"c:\\lower\\case",
      u"C:\\a b\\c  d",
      u"C:\\100%\\%41%%",                     // "%" is escaped, so no escape is decoded
      u"C:\\\"#&<>[]^`{|}",                   // the escaped punctuation
      u"C:\\!$'()*+,-.;=@_~",                 // punctuation kept as it is
      u"C:\\\x01\x1f\x7f\u0080\u00a0\u00ff",  // controls and Latin-1 as one byte each
      u"C:\\caf\u00e9\\\u4e2d\u6587\\\u0100\uff05",
      u"C:\\a:b\\:",
      u"Z:\\trailing\\",
  };
  for (const char16_t* path : kPaths) {
    SCOPED_TRACE(support::ToUtf8(path));
    const std::u16string url = UrlOf(path);
    EXPECT_EQ(url.rfind(u"file:///", 0), 0u) << support::ToUtf8(url);
    EXPECT_EQ(PathOf(url), path) << support::ToUtf8(url);
  }
}

}  // namespace
