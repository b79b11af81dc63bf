// Choosing the key scheme from the version the host reports.
#include <string>

#include "host/takecmd.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using testing_support::KeyGlobalsGuard;
using testing_support::Utf8;

class HostVersionTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  void TearDown() override { HostReset(); }

 private:
  KeyGlobalsGuard guard_;
};

TEST_F(HostVersionTest, MajorVersionChoosesTheScheme) {
  const struct {
    std::u16string version;
    int32_t major;
  } kCases[] = {
      {u"33.00", 33},
      {u"24", 24},
      {u"23.9", 23},
      {u" 24", 24},
      {u"\t\n 24.0", 24},
      {u"+24", 24},
      {u"24abc", 24},
      {u"0000000024", 24},
      {u"8", 8},
      {u"100", 100},
      {u"7", 0},
      {u"101", 0},
      {u"v24", 0},
      {u"- 24", 0},
      {u"-", 0},
      // A host that does not know "%_4ver" expands it to nothing or leaves it
      // as it stands: the classic scheme.
      {u"", 0},
      {u"%_4ver", 0},
      // A leading "-" negates modulo 2^32: 2^32 - 4294967272 is 24.
      {u"-4294967272", 24},
      {u"-24", 0},
      {u"4294967295", 0},
      // Beyond 32 bits: the range error.
      {u"99999999999", 0},
      {u"4294967296", 0},
      {u"-4294967296", 0},
      // The expansion gets 8,192 characters, the terminator included: the
      // number is read from what fits.
      {std::u16string(8189, u'0') + u"24", 24},
      {std::u16string(8190, u'0') + u"24", 0},
      {std::u16string(8189, u' ') + u"24", 24},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(Utf8(row.version.substr(0, 40)));
    HostSetVersion(row.version.c_str());
    hostMajorVersion = 77;
    extendedKeys = row.major >= 24 ? 0 : 1;
    ProbeHostVersion();
    EXPECT_EQ(hostMajorVersion, row.major);
    EXPECT_EQ(extendedKeys, row.major >= 24 ? 1 : 0);
  }
}

}  // namespace
