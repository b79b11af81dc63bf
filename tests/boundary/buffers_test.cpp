// Every fixed buffer at its bound: one short, exactly full and one over,
// with a guard after the buffer that must stay untouched. Bounds that other
// tests already hold at all three rows are left to them (the host's argument
// buffer in the variable functions' tests, the argument text in the splitter
// and in MARIVEXKEY, the word and rebuilt-line limits of the hook, key-name
// components of 1,023 and 1,024 characters); the name buffers of 1,024
// characters hold key names and lines far below their bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "command/arguments.h"
#include "plugin/exports.h"
#include "tests/fixtures/guarded_buffer.h"
#include "tests/fixtures/host_session.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using testing_support::GuardedBuffer;

// ---- The argument array: 1,024 arguments in 8,192 characters ---------------

class ArgumentBoundsTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  testing_support::OutputCapture output;
};

TEST_F(ArgumentBoundsTest, ArgumentCountAroundMaxArgs) {
  for (const size_t count : {MAX_ARGS - 1, MAX_ARGS, MAX_ARGS + 1}) {
    SCOPED_TRACE(count);
    std::u16string text;
    for (size_t i = 0; i < count; ++i) text += u"a ";
    const size_t kept = std::min(count, MAX_ARGS);
    EXPECT_EQ(ArgumentSplitter(text.c_str()), static_cast<int32_t>(kept));
    EXPECT_NE(argPointers[kept - 1], nullptr);
    EXPECT_EQ(argLengths[kept - 1], 1);
    if (kept < MAX_ARGS) {
      EXPECT_EQ(argPointers[kept], nullptr);
    }
    EXPECT_EQ(argText[2 * kept], u'\0') << "a dropped argument left a character";
  }
  EXPECT_EQ(output.Err(), u"");
}

// ---- The host's command line (65,536) -----------------------------------------

class LineBoundsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostReset();
    currentHotkey = 0x10086;  // F12 alone: no modifiers to hold, in both builds
  }
  void TearDown() override { HostReset(); }
  testing_support::OutputCapture output;

 private:
  testing_support::KeyGlobalsGuard guard_;
};

// A line of 65,534 or 65,535 characters ends within the host's buffer and its
// last word converts (a URI shrinks into its name); 65,536 characters without
// a terminator are no line, and the hook gives up without writing.
TEST_F(LineBoundsTest, LineAroundTheHostCapacity) {
  const std::u16string uri = u" file:///C:/x";
  for (const size_t length : {kMaxLineLen - 2, kMaxLineLen - 1, kMaxLineLen}) {
    SCOPED_TRACE(length);
    const std::u16string text = std::u16string(length - uri.size(), u'p') + uri;
    GuardedBuffer line(kMaxLineLen, text);
    KeystrokeRecord record{};
    record.keyCode = 0x10086;
    record.line = line.Data();
    record.cursor = line.Data() + length - 1;
    key(&record);
    EXPECT_EQ(record.keyCode, 0);
    EXPECT_TRUE(line.GuardIntact());
    if (length < kMaxLineLen) {
      const std::u16string converted = std::u16string(length - uri.size(), u'p') + u" C:\\x";
      EXPECT_EQ(record.redraw, 1);
      EXPECT_EQ(line.Text(), converted);
      EXPECT_EQ(record.cursor, line.Data() + converted.size());
    } else {
      EXPECT_EQ(record.redraw, 0);
      EXPECT_EQ(line.Text(), text);
    }
  }
}

}  // namespace
