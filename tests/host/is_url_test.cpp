// The stand-in host's URL kinds, beyond those the test of @ISURL reads
// through the plug-in in both builds.
#include <gtest/gtest.h>

#include "host/takecmd.h"

namespace {

TEST(IsUrlTest, KindsBySchemeInAnyCase) {
  static const struct {
    const char16_t* text;
    int kind;
  } kCases[] = {
      {u"c:/temp", 0},
      {u"no scheme here", 0},
      {u"1http://x", 0},
      {u"HTTP://EXAMPLE.COM", 1},
      {u"https://example.com/a?b", 2},
      {u"iftp://host/file", 4},
      {u"tftp://host/file", 5},
      {u"ftps://host/file", 6},
      {u"iftps://host/file", 7},
      {u"gopher://host", 8},
      {u"file:///C:/Temp/a.txt", 8},
      {u"svn+ssh://host", 8},
      {u"http:", 1},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.text)));
    EXPECT_EQ(QueryIsURL(row.text), row.kind);
  }
}

}  // namespace
