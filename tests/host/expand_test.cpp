// The stand-in host's TCC-like expansion of variables and functions, with
// nested expansion on (TCC's default) and after SETDOS /X-4. The internal
// variables the plug-in reads (%_batch, %[_transient], a version that is
// set, ...) are held through the plug-in, by the tests of its start-up,
// messages and key scheme.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/takecmd.h"
#include "tests/fixtures/host_session.h"

namespace {

class ExpandTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  void TearDown() override { HostReset(); }
};

// Each row is expanded by the shell and by ExpandVariables, the plug-in's way
// in, which follow the same rules.
TEST_F(ExpandTest, VariablesAndFunctions) {
  HostSetVariable(u"name", u"value");
  HostSetVariable(u"nested", u"%name%");
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
      {u"%nested!", u"value!"},
      {u"%[nested]", u"value"},
      {u"%@len[%nested]", u"5"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.text)));
    char16_t out[256];
    ASSERT_EQ(HostExpand(row.text, out, std::size(out)), 1);
    EXPECT_EQ(std::u16string(out), row.expected);
    std::u16string buffer(8192, u'\0');
    std::u16string(row.text).copy(buffer.data(), buffer.size() - 1);
    ASSERT_EQ(ExpandVariables(buffer.data(), 1), 0);
    EXPECT_EQ(std::u16string(buffer.c_str()), row.expected);
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

// What TCC shows, with nested expansion on and after "setdos /x-4": a value
// or a function's result is scanned again as it goes into the line, where
// "%%" becomes one "%" (once: the "%" it leaves is not scanned again) and
// other references are expanded in turn. This is why @FILE2URI doubles each
// "%" of its URI.
class NestedExpansionTest : public testing_support::PluginTest {};

TEST_F(NestedExpansionTest, ValuesAndResultsAreExpandedAgain) {
  struct Outcome {
    int code;
    std::u16string out;
    std::u16string err;
  };
  struct Row {
    std::vector<std::u16string> before;  // run first, in both modes
    std::u16string line;
    Outcome nested;
    Outcome once;  // after "setdos /x-4"
  };
  static const std::u16string kTooDeep = u"Variables nested too deeply\r\n";
  const Row rows[] = {
      {{},
       u"echo %@file2uri[C:\\a b.txt]",
       {0, u"file:///C:/a%20b.txt\r\n", u""},
       {0, u"file:///C:/a%%20b.txt\r\n", u""}},
      {{},
       u"echo %@uri2file[%@file2uri[C:\\a b.txt]]",
       {0, u"\"C:\\a b.txt\"\r\n", u""},
       {0, u"\"C:\\a%% b.txt\"\r\n", u""}},
      // A name's "%" signs come back doubled, so the scan leaves the name.
      {{u"set b=SURPRISE"},
       u"echo %@uri2file[file:///C:/50%%25b%%25off.txt]",
       {0, u"C:\\50%b%off.txt\r\n", u""},
       {0, u"C:\\50%%b%%off.txt\r\n", u""}},
      {{u"set b=hello", u"set a=%%b"}, u"echo %a", {0, u"hello\r\n", u""}, {0, u"%b\r\n", u""}},
      {{u"set u=%@file2uris[C:\\x y.txt]"},
       u"echo %@uri2file[%u]",
       {0, u"\"C:\\x y.txt\"\r\n", u""},
       {0, u"\"C:\\x y.txt\"\r\n", u""}},
      {{u"set a=%%a"}, u"echo %a", {1, u"", kTooDeep}, {0, u"%a\r\n", u""}},
      // A function's argument is expanded, nested expansion included.
      {{u"set b=hello", u"set a=%%b"}, u"echo %@len[%a]", {0, u"5\r\n", u""}, {0, u"2\r\n", u""}},
      {{u"set b=hello", u"set a=%%%%b"},
       u"echo %a %[a]",
       {0, u"%b %b\r\n", u""},
       {0, u"%%b %%b\r\n", u""}},
      {{u"set a=%%@len[abc]"}, u"echo %a", {0, u"3\r\n", u""}, {0, u"%@len[abc]\r\n", u""}},
  };
  for (const bool nested : {true, false}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::PrintToString(row.line) + (nested ? " nested" : " once"));
      HostReset();
      if (!nested) {
        ASSERT_EQ(HostExecute(u"setdos /x-4"), 0);
      }
      for (const std::u16string& line : row.before) {
        ASSERT_EQ(HostExecute(line.c_str()), 0);
      }
      output.Clear();
      const Outcome& expected = nested ? row.nested : row.once;
      EXPECT_EQ(HostExecute(row.line.c_str()), expected.code);
      EXPECT_EQ(output.Out(), expected.out);
      EXPECT_EQ(output.Err(), expected.err);
    }
  }
}

}  // namespace
