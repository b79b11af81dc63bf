// Expansion stops at 65,535 characters, the host's line: a longer line is
// refused with "Command line too long", so nothing that doubles itself
// (a variable, a batch file calling itself by its name) can exhaust memory.
#include <gtest/gtest.h>

#include <string>

#include "host/takecmd.h"
#include "tests/support/host_session.h"

namespace {

constexpr size_t kMaxLine = 65535;

class ExpansionLimitTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  void TearDown() override {
    HostSetBatchFileReader(nullptr, nullptr);
    HostReset();
  }
  testing_support::OutputCapture output;
};

TEST_F(ExpansionLimitTest, LinesAroundTheLimit) {
  // "set y=" and the value make a line of exactly 65,535 characters.
  const std::u16string value(kMaxLine - 6, u'a');
  ASSERT_EQ(HostExecute((u"set y=" + value).c_str()), 0);
  for (const size_t length : {kMaxLine - 1, kMaxLine, kMaxLine + 1}) {
    SCOPED_TRACE(length);
    output.Clear();
    // "echo " (5), the value and the rest make `length` characters.
    const std::u16string line = u"echo %y%" + std::u16string(length - 5 - value.size(), u'z');
    const bool fits = length <= kMaxLine;
    EXPECT_EQ(HostExecute(line.c_str()), fits ? 0 : 1);
    if (fits) {
      EXPECT_EQ(output.Out().size(), length - 5 + 2);
      EXPECT_EQ(output.Err(), u"");
    } else {
      EXPECT_EQ(output.Out(), u"");
      EXPECT_EQ(output.Err(), u"Command line too long\r\n");
    }
  }
}

TEST_F(ExpansionLimitTest, SelfDoublingVariableStops) {
  ASSERT_EQ(HostExecute(u"set x=abcdefgh"), 0);
  int refused = 0;
  for (int step = 0; step < 20; ++step) refused += HostExecute(u"set x=%x%%x%");
  EXPECT_EQ(refused, 8);  // "set x=" and 65,536 characters no longer fit
  EXPECT_EQ(HostExecute(u"echo %@len[%x%]"), 0);
  EXPECT_NE(output.Out().find(u"32768\r\n"), std::u16string::npos);
}

// A batch file that calls itself by its canonical name written twice: each
// level's name doubles, which ran the shell out of memory before the limit.
TEST_F(ExpansionLimitTest, SelfDoublingBatchNameStops) {
  static const std::string kBatch = "call %_batchname%%_batchname%\r\n";
  HostSetBatchFileReader(
      [](const char16_t* path, const char** bytes, size_t* size, void*) {
        const std::u16string name(path);
        if (name.size() < 5 || name.substr(name.size() - 5) != u"a.btm") return 0;
        *bytes = kBatch.data();
        *size = kBatch.size();
        return 1;
      },
      nullptr);
  EXPECT_EQ(HostExecute(u"call a.btm"), 1);
  EXPECT_NE(output.Err().find(u"Command line too long\r\n"), std::u16string::npos);
}

}  // namespace
