// Batch files served by a reader instead of the file system: the reader
// alone decides which names exist, and it sees each name without quotes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/takecmd.h"
#include "tests/support/host_session.h"

namespace {

class BatchReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostReset();
    HostSetBatchFileReader(&BatchReaderTest::Read, this);
  }
  void TearDown() override {
    HostSetBatchFileReader(nullptr, nullptr);
    HostReset();
  }

  static int Read(const char16_t* path, const char** bytes, size_t* size, void* context) {
    auto* self = static_cast<BatchReaderTest*>(context);
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

TEST_F(BatchReaderTest, ServesTheFilesItKnowsAndNoOthers) {
  files[u"a b.btm"] = "echo %_batchline %1\r\ncall inner.btm\r\n";
  files[u"inner.btm"] = "echo inner\n";
  EXPECT_EQ(HostExecute(u"call \"a b.btm\" x"), 0);
  EXPECT_EQ(output.Out(), u"1 x\r\ninner\r\n");
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"a b.btm", u"inner.btm"}));

  output.Clear();
  EXPECT_EQ(HostExecute(u"missing.btm"), 1);
  EXPECT_EQ(output.Err(), u"Cannot open batch file \"missing.btm\"\r\n");
}

TEST_F(BatchReaderTest, AnEmptyFileRunsNothing) {
  files[u"empty.bat"] = "";
  EXPECT_EQ(HostExecute(u"empty.bat"), 0);
  EXPECT_EQ(output.Out(), u"");
  EXPECT_EQ(output.Err(), u"");
}

}  // namespace
