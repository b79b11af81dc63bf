// Expansion stops at 65,535 characters, the host's line: a longer line is
// refused with "Command line too long", so nothing that doubles itself
// (a variable, a batch file calling itself by its name) can exhaust memory.
// References nest at most 64 deep and batch files at most 32, so that no
// line and no batch file can run the stack out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/takecmd.h"
#include "support/utf.h"
#include "tests/fixtures/host_session.h"

namespace {

constexpr size_t kMaxLine = 65535;
constexpr size_t kMaxNesting = 64;

std::u16string Repeated(std::u16string_view piece, size_t count) {
  std::u16string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// A reference of the given kind nested `depth` deep around `inner`.
std::u16string Nested(std::u16string_view opening, size_t depth, std::u16string_view inner = u"") {
  return Repeated(opening, depth) + std::u16string(inner) + Repeated(u"]", depth);
}

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

TEST_F(ExpansionLimitTest, ReferencesNestAtMost64Deep) {
  static const std::u16string kTooDeep = u"Variables nested too deeply\r\n";
  struct Row {
    const char* what;
    std::u16string line;
    int code;
    std::u16string out;
    std::u16string err;
  };
  // About 60,000 characters of openings and as many levels: far past the
  // bound, in a line well within the host's 65,535 characters.
  const std::u16string unclosed = Repeated(u"%[", 30000);
  const std::vector<Row> rows = {
      {"functions at the bound", u"echo " + Nested(u"%@len[", kMaxNesting), 0, u"1\r\n", u""},
      {"functions one over", u"echo " + Nested(u"%@len[", kMaxNesting + 1), 1, u"", kTooDeep},
      {"variables at the bound", u"echo " + Nested(u"%[", kMaxNesting, u"x"), 0, u"X\r\n", u""},
      {"variables one over", u"echo " + Nested(u"%[", kMaxNesting + 1, u"x"), 1, u"", kTooDeep},
      {"mixed one over", u"echo " + Repeated(u"%[%@len[", 33) + Repeated(u"]]", 33), 1, u"",
       kTooDeep},
      {"60,000 characters of functions", u"echo " + Nested(u"%@LEN[", 8571), 1, u"", kTooDeep},
      {"60,000 characters of variables", u"echo " + Nested(u"%[", 20000), 1, u"", kTooDeep},
      {"60,000 characters never closed", u"echo " + unclosed, 0, unclosed + u"\r\n", u""},
  };
  ASSERT_EQ(HostExecute(u"set x=X"), 0);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    output.Clear();
    EXPECT_EQ(HostExecute(row.line.c_str()), row.code);
    EXPECT_EQ(output.Out(), row.out);
    EXPECT_EQ(output.Err(), row.err);
  }
}

// Forty values that each name the next one twice would take 2^40 lookups to
// expand, though every one comes to nothing: the rescans of one line are
// bounded, so the line is refused at once. A value whose rescan would make
// the line too long is refused as any other.
TEST_F(ExpansionLimitTest, RescansOfValuesAreBounded) {
  for (int level = 0; level < 40; ++level) {
    const std::u16string next = u"%%v" + support::ToUtf16(std::to_string(level + 1)) + u"%%";
    const std::u16string line =
        u"set v" + support::ToUtf16(std::to_string(level)) + u"=" + next + next;
    ASSERT_EQ(HostExecute(line.c_str()), 0);
  }
  ASSERT_EQ(HostExecute((u"set long=" + std::u16string(40000, u'x')).c_str()), 0);
  ASSERT_EQ(HostExecute(u"set twice=%%long%%%%long%%"), 0);
  struct Row {
    const char16_t* line;
    const char16_t* err;
  };
  const Row rows[] = {
      {u"echo %v0", u"Variables nested too deeply\r\n"},
      {u"echo %twice", u"Command line too long\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(support::ToUtf8(row.line));
    output.Clear();
    EXPECT_EQ(HostExecute(row.line), 1);
    EXPECT_EQ(output.Out(), u"");
    EXPECT_EQ(output.Err(), row.err);
  }
}

// A batch file that calls itself stops at the 32nd level, with one message.
TEST_F(ExpansionLimitTest, BatchFilesNestAtMost32Deep) {
  static int reads = 0;
  reads = 0;
  HostSetBatchFileReader(
      [](const char16_t*, const char** bytes, size_t* size, void*) {
        static const std::string kBatch = "call self.btm\r\n";
        ++reads;
        *bytes = kBatch.data();
        *size = kBatch.size();
        return 1;
      },
      nullptr);
  EXPECT_EQ(HostExecute(u"call self.btm"), 1);
  EXPECT_EQ(reads, 32);
  EXPECT_EQ(output.Err(), u"Batch files nested too deeply\r\n");
}

}  // namespace
