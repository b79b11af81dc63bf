// The argument splitter and the argument array it leaves for the command.
#include "command/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/utf.h"
#include "tests/fixtures/host_session.h"

namespace {

using Arguments = std::vector<std::u16string>;

// The arguments as the array holds them, read through pointers and lengths.
Arguments HeldArguments() {
  Arguments held;
  for (int32_t j = 0; j < argCount; ++j) {
    held.emplace_back(argPointers[j], static_cast<size_t>(argLengths[j]));
  }
  return held;
}

// What every split must leave behind: each argument inside argText, after the
// terminator of the one before and terminated itself, and nothing above argCount.
void ExpectArrayInvariants() {
  ASSERT_GE(argCount, 0);
  ASSERT_LE(argCount, static_cast<int32_t>(MAX_ARGS));
  const char16_t* end = argText + MAX_ARG_LEN;
  const char16_t* earliest = argText;
  for (int32_t j = 0; j < argCount; ++j) {
    SCOPED_TRACE(j);
    ASSERT_NE(argPointers[j], nullptr);
    ASSERT_GE(argLengths[j], 0);
    ASSERT_GE(argPointers[j], earliest);
    ASSERT_LT(argPointers[j] + argLengths[j], end);
    EXPECT_EQ(std::u16string(argPointers[j]).size(), static_cast<size_t>(argLengths[j]));
    earliest = argPointers[j] + argLengths[j] + 1;
  }
  for (size_t j = static_cast<size_t>(argCount); j < MAX_ARGS; ++j) {
    if (argPointers[j] != nullptr || argLengths[j] != 0) {
      ADD_FAILURE() << "entry " << j << " above the count is not null and 0";
      break;
    }
  }
  EXPECT_TRUE(argCount != 0 || argText[0] == u'\0') << "argText not empty without arguments";
}

// Runs the splitter with the host's output captured; checks the invariants.
class ArgumentsTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  void TearDown() override { HostReset(); }

  int32_t Split(const std::u16string& text) {
    const int32_t result = ArgumentSplitter(text.c_str());
    EXPECT_EQ(result < 0 ? -1 : result, result);
    EXPECT_EQ(argCount, result < 0 ? 0 : result);
    ExpectArrayInvariants();
    return result;
  }

  testing_support::OutputCapture output;
};

TEST_F(ArgumentsTest, SplitsAsTheCommandExpects) {
  static const struct {
    const char16_t* text;
    Arguments expected;
  } kCases[] = {
      // Switches written together come apart.
      {u"/q/s", {u"/Q", u"/S"}},
      {u"/S! ctrl-alt-k", {u"/S!", u"CTRL-ALT-K"}},
      {u"/S!/Q", {u"/S!", u"/Q"}},
      {u"/Q/", {u"/Q", u"/"}},
      {u"/a=b/c", {u"/A=B", u"/C"}},
      {u"/a,b]/c", {u"/A,B]", u"/C"}},
      {u"/Ab//cd", {u"/AB", u"//CD"}},
      {u"//", {u"//"}},          // the second slash comes while the switch holds one character
      {u"c:/x/y", {u"C:/X/Y"}},  // no leading slash: never split
      // A scheme keeps the switch whole; a colon elsewhere does not.
      {u"/x:a/b", {u"/X:A", u"/B"}},
      {u"/x://a/b", {u"/X://A/B"}},
      {u"/c:/x", {u"/C:", u"/X"}},
      {u"/x:/", {u"/X:", u"/"}},                    // one slash and the end: no scheme
      {u"/1://a/b", {u"/1:", u"//A", u"/B"}},       // a digit is no letter
      {u"/\u00e9://a/b", {u"/\u00e9://A/B"}},       // an accented letter is one
      {u"/x://a /b/c", {u"/X://A", u"/B", u"/C"}},  // the scheme ends with its argument
      // Quotes.
      {u"/x\"://\"/b", {u"/X://", u"/B"}},  // the quote stands before the colon
      {u"/\"x://\"a/b", {u"/X://A/B"}},     // a scheme inside quotes counts
      {u"\"ctrl alt\" /d", {u"CTRL ALT", u"/D"}},
      {u"ab\"cd ef\"gh", {u"ABCD EFGH"}},
      {u"/ab\"/c\"", {u"/AB/C"}},
      {u"/\"a b\"/c", {u"/A B", u"/C"}},
      {u"\"a b \"", {u"A B"}},
      {u"\" a\"", {u" A"}},
      {u"\"\"", {}},
      {u"\" \"", {u""}},
      {u"\"\" x", {u"X"}},
      {u"\"/a \"/b", {u"/A", u"/B"}},  // a switch ended by a slash is trimmed too
      {u"\"/d /q", {u"/D /Q"}},        // never closed
      {u"a\"\"\"\"b", {u"AB"}},
      // White space.
      {u"", {}},
      {u" \t \r\n", {}},
      {u"x y z", {u"X", u"Y", u"Z"}},
      {u"  a   b  ", {u"A", u"B"}},
      {u"a\tb", {u"A", u"B"}},
      {u"\"a\t\"b", {u"A\tB"}},
      {u"\"a\t\" b", {u"A", u"B"}},  // a quoted tab at the end is trimmed
      {u"\"\ta\"", {u"\tA"}},
      {u"a\u00a0b", {u"A", u"B"}},                    // no-break space
      {u"a\u3000b \"c\u3000\"", {u"A", u"B", u"C"}},  // ideographic space
      // Only a to z change case.
      {u"\u00e9t\u00e9 stra\u00dfe [x]{y}", {u"\u00e9T\u00e9", u"STRA\u00dfE", u"[X]{Y}"}},
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    SCOPED_TRACE(testing::Message() << "row " << row << ": " << support::ToUtf8(kCases[row].text));
    EXPECT_EQ(Split(kCases[row].text), static_cast<int32_t>(kCases[row].expected.size()));
    EXPECT_EQ(HeldArguments(), kCases[row].expected);
  }
  EXPECT_EQ(output.Err(), u"");
}

TEST_F(ArgumentsTest, NullTextLeavesTheArrayAsItWas) {
  ASSERT_EQ(Split(u"one two"), 2);
  const char16_t* first = argPointers[0];
  EXPECT_EQ(ArgumentSplitter(nullptr), -1);
  EXPECT_EQ(argCount, 2);
  EXPECT_EQ(argPointers[0], first);
  EXPECT_EQ(HeldArguments(), (Arguments{u"ONE", u"TWO"}));
}

// The message names b, the position at which the first character that no
// longer fits was to be stored.
TEST_F(ArgumentsTest, OverflowsAtTheLastPositionOfTheText) {
  const std::u16string full(8191, u'w');
  std::u16string fullSwitch = full;
  fullSwitch[0] = u'/';
  const std::u16string switches = [] {
    std::u16string text;
    for (int i = 0; i < 1023; ++i) text += u"x ";
    return text;
  }();
  const auto message = [](const std::u16string& b) {
    return u"Marivex plugin: Buffer overflow: b = " + b + u", MAX_ARG_LEN = 8192 \r\n";
  };
  const struct {
    const char* name;
    std::u16string text;
    int32_t result;
    std::u16string error;
  } kCases[] = {
      {"a word that exactly fills the text", full, 1, u""},
      {"and trailing blanks", full + u"   ", 1, u""},
      {"one character over", full + u"w", -1, message(u"8191")},
      {"one short, then a second word", full.substr(1) + u" v", -1, message(u"8191")},
      {"a second word after a full one", full + u" v", -1, message(u"8192")},
      {"a switch after a full one", fullSwitch + u"/", -1, message(u"8192")},
      {"the last argument ends one short", switches + std::u16string(6143, u'y') + u" z", 1024,
       u""},
      {"a dropped argument after a full text", switches + std::u16string(6144, u'y') + u" z", -1,
       message(u"8191")},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.name);
    output.Clear();
    EXPECT_EQ(Split(row.text), row.result);
    EXPECT_EQ(output.Err(), row.error);
    EXPECT_EQ(output.Out(), u"");
    if (row.result == 1) {
      EXPECT_EQ(argLengths[0], 8191);
    }
  }
}

}  // namespace
