// Every fixed buffer at its bound: one short, exactly full and one over,
// with a guard after the buffer that must stay untouched. Bounds that other
// tests already hold at all three rows are left to them (the argument text
// in the splitter and in MARIVEXKEY, the word and rebuilt-line limits of the
// hook, key-name components of 1,023 and 1,024 characters); the name buffers
// of 1,024 characters hold key names and lines far below their bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "command/arguments.h"
#include "plugin/exports.h"
#include "tests/hotkey/key_test_support.h"
#include "tests/support/guarded_buffer.h"
#include "tests/support/host_session.h"

namespace {

using testing_support::GuardedBuffer;

std::u16string Repeat(size_t count, char16_t c) {
  return std::u16string(count, c);
}

// ---- The host's argument buffer of the variable functions (8,192) ----------

class VariableFunctionBoundsTest : public testing_support::PluginTest {
 protected:
  struct Result {
    int code;
    std::u16string text;
  };
  Result Call(const char* name, const std::u16string& argument) {
    const auto function = Export<VariableFunction>(name);
    EXPECT_NE(function, nullptr) << name;
    if (function == nullptr) return {};
    GuardedBuffer buffer(MAX_ARG_LEN, argument);
    const int code = function(buffer.Data());
    EXPECT_TRUE(buffer.GuardIntact()) << name << " wrote past the buffer";
    EXPECT_TRUE(buffer.TextLength().has_value()) << name << " left no terminator";
    return {code, buffer.Text()};
  }
};

// An argument of 8,190 or 8,191 characters is read whole; 8,192 leave no
// room for the terminator, and the functions read the first 8,191.
TEST_F(VariableFunctionBoundsTest, ArgumentFillsTheBuffer) {
  for (const size_t length : {MAX_ARG_LEN - 2, MAX_ARG_LEN - 1, MAX_ARG_LEN}) {
    SCOPED_TRACE(length);
    const std::u16string url = u"http://" + Repeat(length - 7, u'h');
    EXPECT_EQ(Call("f_isurl", url).text, u"1");
    const std::u16string uri = u"file:///C:/" + Repeat(length - 11, u'a');
    const Result name = Call("f_uri2file", uri);
    EXPECT_EQ(name.code, 0);
    EXPECT_EQ(name.text, u"C:\\" + Repeat(std::min(length, MAX_ARG_LEN - 1) - 11, u'a'));
  }
  EXPECT_EQ(output.Err(), u"");
}

// The URI of "C:\" and n letters has n + 11 characters: up to 8,191 it
// comes back; at 8,192 Windows' own buffer of 8,192 cannot take it.
TEST_F(VariableFunctionBoundsTest, UriFillsTheBuffer) {
  static const struct {
    size_t uriLength;
    bool fits;
  } kCases[] = {{MAX_ARG_LEN - 2, true}, {MAX_ARG_LEN - 1, true}, {MAX_ARG_LEN, false}};
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.uriLength);
    const size_t letters = row.uriLength - 11;
    for (const char* function : {"f_file2uri", "f_file2uris"}) {
      SCOPED_TRACE(function);
      output.Clear();
      const Result result = Call(function, u"C:\\" + Repeat(letters, u'a'));
      EXPECT_EQ(result.code, row.fits ? 0 : -1);
      if (row.fits) {
        EXPECT_EQ(result.text, u"file:///C:/" + Repeat(letters, u'a'));
        EXPECT_EQ(output.Err(), u"");
      } else {
        EXPECT_EQ(output.Err(), u"Marivex plugin: No data returned\r\n");
        EXPECT_EQ(result.text, u"C:\\" + Repeat(letters, u'a')) << "the canonical name stays";
      }
    }
  }
}

// "C:\%" and n letters: the URI "file:///C:/%25..." has n + 14 characters,
// n + 15 once its "%" is doubled. The doubled URI is cut to 8,191.
TEST_F(VariableFunctionBoundsTest, DoubledUriIsCutAt8191) {
  for (const size_t doubledLength : {MAX_ARG_LEN - 2, MAX_ARG_LEN - 1, MAX_ARG_LEN}) {
    SCOPED_TRACE(doubledLength);
    const size_t letters = doubledLength - 15;
    const Result plain = Call("f_file2uri", u"C:\\%" + Repeat(letters, u'a'));
    EXPECT_EQ(plain.code, 0);
    const std::u16string full = u"file:///C:/%%25" + Repeat(letters, u'a');
    EXPECT_EQ(plain.text, full.substr(0, MAX_ARG_LEN - 1));
    const Result safe = Call("f_file2uris", u"C:\\%" + Repeat(letters, u'a'));
    EXPECT_EQ(safe.code, 0);
    EXPECT_EQ(safe.text, u"file:///C:/\uff0525" + Repeat(letters, u'a'));
  }
  EXPECT_EQ(output.Err(), u"");
}

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
    const std::u16string text = Repeat(length - uri.size(), u'p') + uri;
    GuardedBuffer line(kMaxLineLen, text);
    KeystrokeRecord record{};
    record.keyCode = 0x10086;
    record.line = line.Data();
    record.cursor = line.Data() + length - 1;
    key(&record);
    EXPECT_EQ(record.keyCode, 0);
    EXPECT_TRUE(line.GuardIntact());
    if (length < kMaxLineLen) {
      const std::u16string converted = Repeat(length - uri.size(), u'p') + u" C:\\x";
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
