// The stand-in shell's commands and batch files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/takecmd.h"
#include "support/utf.h"
#include "tests/fixtures/host_session.h"

namespace {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  void TearDown() override {
    HostSetBatchFileReader(nullptr, nullptr);
    HostReset();
  }

  // Batch files from `files` instead of the file system: the reader alone
  // decides which names exist, and it sees each name without quotes.
  void ServeBatchFiles() { HostSetBatchFileReader(&ShellTest::Read, this); }
  static int Read(const char16_t* path, const char** bytes, size_t* size, void* context) {
    auto* self = static_cast<ShellTest*>(context);
    self->asked.push_back(path);
    const auto file = self->files.find(path);
    if (file == self->files.end()) return 0;
    *bytes = file->second.data();
    *size = file->second.size();
    return 1;
  }

  std::map<std::u16string, std::string> files;
  std::vector<std::u16string> asked;
  testing_support::OutputCapture output;
};

TEST_F(ShellTest, EchoSetAndExitCodes) {
  EXPECT_EQ(HostExecute(u"set greeting=hello world"), 0);
  EXPECT_EQ(HostExecute(u"echo %greeting%, %@len[%greeting%]"), 0);
  EXPECT_EQ(HostExecute(u"ECHO"), 0);
  EXPECT_EQ(output.Out(), u"hello world, 11\r\nECHO is ON\r\n");
  output.Clear();

  EXPECT_EQ(HostExecute(u"nosuchcommand x"), 1);
  EXPECT_EQ(output.Err(), u"Unknown command \"nosuchcommand\"\r\n");
  EXPECT_EQ(output.Out(), u"");
}

TEST_F(ShellTest, ChangesDirectory) {
  EXPECT_EQ(HostExecute(u"cd \\Temp"), 0);
  EXPECT_EQ(HostExecute(u"cd"), 0);
  EXPECT_EQ(HostExecute(u"cd /d d:\\data"), 0);
  EXPECT_EQ(HostExecute(u"echo %_cwd %_cwds"), 0);
  EXPECT_EQ(output.Out(), u"C:\\Temp\r\nD:\\data D:\\data\\\r\n");
}

TEST_F(ShellTest, ExitStopsTheShellWithItsCode) {
  int code = -1;
  EXPECT_EQ(HostExitRequested(&code), 0);
  EXPECT_EQ(HostExecute(u"exit 3"), 3);
  EXPECT_EQ(HostExitRequested(&code), 1);
  EXPECT_EQ(code, 3);
}

TEST_F(ShellTest, RunsBatchFilesWithTheirNameAndLine) {
  const auto path = std::filesystem::temp_directory_path() / "marivex_shell_test.btm";
  {
    std::ofstream file(path, std::ios::binary);
    file << "@echo off\r\n"
            ":label\r\n"
            "echo %_batch %_batchline %1\r\n"
            "\r\n"
            "echo %_batchname\r\n"
            "quit\r\n"
            "echo never\r\n";
  }
  const std::u16string command = u"call \"" + path.u16string() + u"\" first";
  EXPECT_EQ(HostExecute(command.c_str()), 0);
  std::filesystem::remove(path);
  const std::u16string out = output.Out();
  EXPECT_EQ(out.substr(0, out.find(u'\n') + 1), u"1 3 first\r\n");
  EXPECT_NE(out.find(u"marivex_shell_test.btm\r\n"), std::u16string::npos);
  EXPECT_EQ(out.find(u"never"), std::u16string::npos);
  EXPECT_EQ(HostExecute(u"echo %_batch"), 0);
  EXPECT_NE(output.Out().find(u"\r\n0\r\n"), std::u16string::npos);
}

TEST_F(ShellTest, RunsBatchFilesFromAReaderAndNoOthers) {
  ServeBatchFiles();
  files[u"a b.btm"] = "echo %_batchline %1\r\ncall inner.btm\r\n";
  files[u"inner.btm"] = "echo inner\n";
  files[u"empty.bat"] = "";
  EXPECT_EQ(HostExecute(u"call \"a b.btm\" x"), 0);
  EXPECT_EQ(HostExecute(u"empty.bat"), 0);
  EXPECT_EQ(output.Out(), u"1 x\r\ninner\r\n");
  EXPECT_EQ(output.Err(), u"");
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"a b.btm", u"inner.btm", u"empty.bat"}));

  output.Clear();
  EXPECT_EQ(HostExecute(u"missing.btm"), 1);
  EXPECT_EQ(output.Err(), u"Cannot open batch file \"missing.btm\"\r\n");
}

TEST_F(ShellTest, RunsTheCommandsOfALineInOrder) {
  struct Row {
    const char16_t* line;
    int code;
    const char16_t* out;
  };
  const Row rows[] = {
      {u"echo a & echo b", 0, u"a \r\nb\r\n"},
      {u"set x=1 & echo %x%", 0, u"1\r\n"},
      {u"nosuch && echo never", 1, u""},
      {u"echo yes&&echo then", 0, u"yes\r\nthen\r\n"},
      {u"nosuch || echo recovered", 0, u"recovered\r\n"},
      {u"echo fine || echo never", 0, u"fine \r\n"},
      {u"nosuch || echo one && echo two", 0, u"one \r\ntwo\r\n"},
      {u"nosuch & echo %?", 0, u"1\r\n"},
      {u"echo \"a & b\" & echo c", 0, u"\"a & b\" \r\nc\r\n"},
      {u"echo %@len[a&b]", 0, u"3\r\n"},
      {u"echo \"unmatched & quote", 0, u"\"unmatched & quote\r\n"},
      {u"echo a | b", 0, u"a | b\r\n"},
      {u"exit 4 & echo never", 4, u""},
      {u"echo last &", 0, u"last \r\n"},
  };
  for (const Row& row : rows) {
    HostReset();
    output.Clear();
    SCOPED_TRACE(support::ToUtf8(row.line));
    EXPECT_EQ(HostExecute(row.line), row.code);
    EXPECT_EQ(output.Out(), row.out);
  }
}

// SETDOS /X-4 turns nested expansion off, /X+4 and /X0 turn it on; the
// demo has no other option, and a refused one changes nothing.
TEST_F(ShellTest, SetdosTurnsNestedExpansionOffAndOn) {
  struct Row {
    const char16_t* line;
    int code;
    const char16_t* out;
    const char16_t* err;
  };
  const Row rows[] = {
      {u"set b=hello", 0, u"", u""},
      {u"set a=%%b", 0, u"", u""},
      {u"setdos", 0, u"Nested variable expansion is on\r\n", u""},
      {u"setdos /X-4", 0, u"", u""},
      {u"echo %a", 0, u"%b\r\n", u""},
      {u"setdos", 0, u"Nested variable expansion is off\r\n", u""},
      {u"setdos /x+4", 0, u"", u""},
      {u"echo %a", 0, u"hello\r\n", u""},
      {u"setdos /x-4 /x-5", 1, u"",
       u"The demo does not have SETDOS \"/x-5\"; it has /X-4, /X+4 and /X0\r\n"},
      {u"echo %a", 0, u"hello\r\n", u""},
      {u"setdos /x-4 & echo %a", 0, u"%b\r\n", u""},
      {u"setdos /x0 & echo %a", 0, u"hello\r\n", u""},
      {u"setdos /c", 1, u"",
       u"The demo does not have SETDOS \"/c\"; it has /X-4, /X+4 and /X0\r\n"},
  };
  for (const Row& row : rows) {
    output.Clear();
    SCOPED_TRACE(support::ToUtf8(row.line));
    EXPECT_EQ(HostExecute(row.line), row.code);
    EXPECT_EQ(output.Out(), row.out);
    EXPECT_EQ(output.Err(), row.err);
  }
}

}  // namespace
