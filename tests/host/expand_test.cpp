// The stand-in host's TCC-like expansion of variables and functions. The
// internal variables the plug-in reads (%_batch, %[_transient], a version
// that is set, ...) are held through the plug-in, by the tests of its
// start-up, messages and key scheme.
#include <gtest/gtest.h>

#include <string>

#include "host/takecmd.h"
#include "tests/fixtures/host_session.h"

namespace {

class ExpandTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  void TearDown() override { HostReset(); }
};

TEST_F(ExpandTest, VariablesAndFunctions) {
  HostSetVariable(u"name", u"value");
  static const struct {
    const char16_t* text;
    const char16_t* expected;
  } kCases[] = {
      {u"plain text", u"plain text"},
      {u"%name%", u"value"},
      {u"%NAME%!", u"value!"},
      {u"%name.txt", u"value.txt"},
      {u"[%[name]]", u"[value]"},
      {u"%unknown%x", u"x"},
      {u"100%%", u"100%"},
      {u"50% off", u"50% off"},
      {u"%", u"%"},
      {u"a % b", u"a % b"},
      {u"%@char[65 0x42]", u"AB"},
      {u"%@len[%name%]", u"5"},
      {u"%@char[0xFF05]", u"\uff05"},
      {u"%@len[abc", u"%@len[abc"},
      {u"%_cwd", u"C:\\Users\\Marivex"},
      {u"%_disk:", u"C:"},
      {u"%_4ver", u"33.00"},
      {u"%?", u"0"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.text)));
    char16_t out[256];
    ASSERT_EQ(HostExpand(row.text, out, std::size(out)), 1);
    EXPECT_EQ(std::u16string(out), row.expected);
  }
}

// A host without a version, as one from before %_4ver, expands it to nothing.
TEST_F(ExpandTest, WithoutAVersionTheVersionIsEmpty) {
  HostSetVersion(nullptr);
  char16_t out[16];
  ASSERT_EQ(HostExpand(u"[%_4ver]", out, std::size(out)), 1);
  EXPECT_EQ(std::u16string(out), u"[]");
}

TEST_F(ExpandTest, WritesTheWholeExpansionUpToTheLargestPluginBuffer) {
  HostSetVariable(u"long", std::u16string(9000, u'x').c_str());
  std::u16string buffer(8192 + 16, u'#');
  std::char_traits<char16_t>::copy(buffer.data(), u"%long%", 7);
  EXPECT_EQ(ExpandVariables(buffer.data(), 1), 0);
  EXPECT_EQ(buffer.find(u'\0'), 8191u);
  EXPECT_EQ(buffer.substr(8192), std::u16string(16, u'#'));
}

TEST_F(ExpandTest, UnknownFunctionFails) {
  testing_support::OutputCapture output;
  char16_t out[64];
  EXPECT_EQ(HostExpand(u"%@nosuch[x]", out, std::size(out)), 0);
  EXPECT_EQ(output.Err(), u"Unknown function \"@nosuch\"\r\n");
}

// As in TCC, an inserted value or a function's result is scanned again
// ("%%" becomes "%", references are expanded) unless SETDOS /X-4.
using NestedExpansionTest = testing_support::PluginTest;

TEST_F(NestedExpansionTest, ValuesAndResultsAreScannedAgainUnlessTurnedOff) {
  static const struct {
    const char16_t* line;
    int nestedCode;
    const char16_t* nestedOut;
    const char16_t* nestedErr;
    const char16_t* flatOut;  // after SETDOS /X-4
  } kCases[] = {
      {u"echo %@file2uri[C:\\a b.txt]", 0, u"file:///C:/a%20b.txt\r\n", u"",
       u"file:///C:/a%%20b.txt\r\n"},
      {u"echo %@uri2file[%@file2uri[C:\\a b.txt]]", 0, u"\"C:\\a b.txt\"\r\n", u"",
       u"\"C:\\a% b.txt\"\r\n"},
      {u"set b=hello & set a=%%b & echo %a", 0, u"hello\r\n", u"", u"%b\r\n"},
      {u"set u=%@file2uris[C:\\x y.txt] & echo %@uri2file[%u]", 0, u"\"C:\\x y.txt\"\r\n", u"",
       u"\"C:\\x y.txt\"\r\n"},
      {u"set a=%%a & echo %a", 1, u"", u"Variables nested too deeply\r\n", u"%a\r\n"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.line)));
    for (const bool nested : {true, false}) {
      HostReset();
      output.Clear();
      if (!nested) {
        ASSERT_EQ(HostExecute(u"setdos /x-4"), 0);
      }
      EXPECT_EQ(HostExecute(row.line), nested ? row.nestedCode : 0);
      EXPECT_EQ(output.Out(), nested ? row.nestedOut : row.flatOut);
      EXPECT_EQ(output.Err(), nested ? row.nestedErr : u"");
    }
  }
}

// Twenty variables, each naming the next twice, would take a million scans.
TEST_F(NestedExpansionTest, ScansAgainABoundedNumberOfTimes) {
  for (char16_t name = u'a'; name < u'a' + 20; ++name) {
    const std::u16string next = u"%%v" + std::u16string(1, static_cast<char16_t>(name + 1)) + u"%%";
    const std::u16string line = u"set v" + std::u16string(1, name) + u"=" + next + next;
    ASSERT_EQ(HostExecute(line.c_str()), 0);
  }
  EXPECT_EQ(HostExecute(u"echo %va"), 1);
  EXPECT_EQ(output.Err(), u"Variables nested too deeply\r\n");
}

TEST_F(NestedExpansionTest, SetdosTakesOnlyTheNestingOptions) {
  static const struct {
    const char16_t* option;
    int code;
    const char16_t* out;
  } kCases[] = {
      {u"/x+4", 0, u"hello\r\n"},
      {u"/X0", 0, u"hello\r\n"},
      {u"/x-4", 0, u"%b\r\n"},
      {u"/c", 1, u"%b\r\n"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.option)));
    HostReset();
    ASSERT_EQ(HostExecute(u"setdos /x-4 & set b=hello & set a=%%b"), 0);
    output.Clear();
    EXPECT_EQ(HostExecute((u"setdos " + std::u16string(row.option)).c_str()), row.code);
    EXPECT_EQ(HostExecute(u"echo %a"), 0);
    EXPECT_EQ(output.Out(), row.out);
    EXPECT_EQ(output.Err(), row.code == 0
                                ? u""
                                : u"SETDOS: the demo has only /X-4, /X+4 and /X0, not \"/C\"\r\n");
  }
}

}  // namespace
