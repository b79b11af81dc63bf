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

}  // namespace
