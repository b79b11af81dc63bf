// UTF-8 read into UTF-16: each byte of a malformed sequence is a U+FFFD of its
// own, although the one decoder, shared with the demo's keys, reports such a
// sequence whole.
#include "support/utf.h"

#include <gtest/gtest.h>

namespace {

TEST(UtfTest, ToUtf16ReplacesEachByteOfAMalformedSequence) {
  const struct {
    std::string_view utf8;
    std::u16string_view utf16;
  } rows[] = {
      {"a\xc3\xa9\xe4\xb8\xad", u"a\u00e9\u4e2d"}, {"\xf0\x9f\x98\x80", u"\U0001f600"},
      {"\xe4\xb8\x41", u"\ufffd\ufffdA"},       // cut short by an ASCII byte
      {"\xf0\x9f\x98", u"\ufffd\ufffd\ufffd"},  // cut short by the end
      {"\xed\xa0\x80", u"\ufffd\ufffd\ufffd"},  // a surrogate
      {"\xc0\xaf\xff", u"\ufffd\ufffd\ufffd"},  // overlong, and no lead byte
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(std::string(row.utf8)));
    EXPECT_EQ(support::ToUtf16(row.utf8), row.utf16);
  }
}

}  // namespace
