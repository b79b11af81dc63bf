// The shell's HELP and USAGE commands, answered by the loaded plug-in.
#include <gtest/gtest.h>

#include <string>

#include "host/takecmd.h"
#include "support/utf.h"
#include "tests/fixtures/host_session.h"

#if !defined(_WIN32)
#include "platform/posix/standin.h"
#endif

namespace {

const std::u16string kHelpList =
    u"Help is available for: @file2uri, @file2uris, @isurl, @uri2file, marivexkey\r\n";

class HelpCommandTest : public testing_support::PluginTest {
 protected:
#if !defined(_WIN32)
  void SetUp() override {
    PluginTest::SetUp();
    standin::SetMessageBoxHandler(
        [this](const char16_t* text, const char16_t* caption, platform::UINT) {
          boxes += std::u16string(caption) + u"|" + text;
          return 1;
        });
  }
  void TearDown() override {
    standin::SetMessageBoxHandler(nullptr);
    PluginTest::TearDown();
  }
  std::u16string boxes;
#endif

  // Runs the command; its exit code must also be what %? shows afterwards.
  int Run(const char16_t* command) {
    const int code = HostExecute(command);
    const std::u16string out = output.Out();
    const std::u16string err = output.Err();
    output.Clear();
    HostExecute(u"echo %?");
    EXPECT_EQ(output.Out(), support::ToUtf16(std::to_string(code)) + u"\r\n");
    output.Clear();
    output_ = out;
    errors_ = err;
    return code;
  }

  std::u16string output_;
  std::u16string errors_;
};

TEST_F(HelpCommandTest, AnswersFromThePlugin) {
  const struct {
    const char16_t* command;
    int exitCode;
    std::u16string out;
    std::u16string err;
  } rows[] = {
      {u"help", 0, kHelpList, u""},
      {u"HELP   ", 0, kHelpList, u""},
      {u"help @IsUrl", 0, u"", u""},
      {u"help MarivexKey", 0, u"", u""},
      {u"help file2uri", 1, kHelpList, u"No help for \"file2uri\"\r\n"},
      {u"help *key", 1, kHelpList, u"No help for \"*key\"\r\n"},
      {u"usage", 0, u"Syntax is available for: marivexkey\r\n", u""},
      {u"usage @file2uri", 1, u"", u"No syntax for \"@file2uri\"\r\n"},
      {u"usage key", 1, u"", u"No syntax for \"key\"\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(support::ToUtf8(row.command));
    EXPECT_EQ(Run(row.command), row.exitCode);
    EXPECT_EQ(output_, row.out);
    EXPECT_EQ(errors_, row.err);
  }
}

TEST_F(HelpCommandTest, UsageShowsTheSyntaxText) {
  EXPECT_EQ(Run(u"usage MARIVEXKEY"), 0);
  EXPECT_EQ(output_.rfind(
                u"MARIVEXKEY /D /L /Q /R /S key \r\n\n\t/D\trestore default plugin settings\n", 0),
            0u);
  EXPECT_EQ(output_.size(), 286u);
  EXPECT_EQ(errors_, u"");
}

#if !defined(_WIN32)
TEST_F(HelpCommandTest, HelpShowsTheTextInAMessageBox) {
  EXPECT_EQ(Run(u"help @IsUrl"), 0);
  EXPECT_EQ(boxes.rfind(u"Marivex Plugin Help|@ISURL[string]  \n\nReturns nonzero", 0), 0u);
  boxes.clear();
  EXPECT_EQ(Run(u"help nothing"), 1);
  EXPECT_EQ(boxes, u"");
}
#endif

TEST_F(HelpCommandTest, WithoutAPluginThereIsNoHelp) {
  HostUnloadPlugin();
  EXPECT_EQ(Run(u"help"), 0);
  EXPECT_EQ(output_, u"No help is available\r\n");
  EXPECT_EQ(Run(u"help @isurl"), 1);
  EXPECT_EQ(errors_, u"No help for \"@isurl\"\r\n");
  EXPECT_EQ(Run(u"usage"), 0);
  EXPECT_EQ(output_, u"No syntax is available\r\n");
}

}  // namespace
