// The MARIVEXKEY command: every option, message, exit code and quiet rule,
// with exact output on standard output and standard error.
#include <gtest/gtest.h>

#include <string>

#include "base/version.h"
#include "command/help.h"
#include "plugin/exports.h"
#include "tests/fixtures/host_session.h"
#include "tests/fixtures/scratch_registry.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

constexpr int32_t kCtrlAltK = 0x50025;
constexpr int32_t kCtrlAltL = 0x50026;
constexpr int32_t kF5 = 0x1003f;

std::u16string Display(const std::u16string& name) {
  return u"\r\nMarivex v" MARIVEX_VERSION_SHOWN
         " options:\r\n\n    Marivex hotkey . . . . . . . . . " +
         name + u"\r\n";
}

std::u16string Error(const std::u16string& message) {
  return u"Marivex plugin: " + message;
}

const std::u16string kSubkey = u"Software\\RUDadurad\\Marivex";

class MarivexKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostReset();
    extendedKeys = 1;
    currentHotkey = DEFAULT_HOTKEY;
  }

  int Run(const std::u16string& arguments) {
    std::u16string text = arguments;
    return marivexkey(text.data());
  }

  testing_support::ScratchRegistry registry;
  testing_support::OutputCapture output;

 private:
  testing_support::KeyGlobalsGuard guard_;
};

struct CommandCase {
  std::u16string arguments;
  int32_t hotkeyBefore;
  int exitCode;
  std::u16string out;
  std::u16string err;
  int32_t hotkeyAfter;
};

TEST_F(MarivexKeyTest, OptionsMessagesAndExitCodes) {
  ListKeyNames();
  const std::u16string listing = output.Out();
  const std::u16string longest(MAX_ARG_LEN - 1, u'x');  // with its terminator, fills argText
  const CommandCase kCases[] = {
      // Display, set, none.
      {u"", DEFAULT_HOTKEY, 0, Display(u"Ctrl-Alt-U"), u"", DEFAULT_HOTKEY},
      {u"\"\"", kF5, 0, Display(u"F5"), u"", kF5},
      {u"ctrl-alt-k", DEFAULT_HOTKEY, 0, Display(u"Ctrl-Alt-K"), u"", kCtrlAltK},
      {u"none", DEFAULT_HOTKEY, 0, Display(u"None"), u"", 0},
      {u"None /q", DEFAULT_HOTKEY, 0, u"", u"", 0},
      {u"/Q ctrl-alt-shift-b", DEFAULT_HOTKEY, 0, u"", u"", 0x7003e},
      // Refused arguments change nothing.
      {u"ctrl-alt-k none", kF5, 1, u"", Error(u"Syntax error: \"NONE\"\r\n"), kF5},
      {u"none ctrl-alt-k", kF5, 1, u"", Error(u"Syntax error: \"CTRL-ALT-K\"\r\n"), kF5},
      {u"/x /?", kF5, 1, u"", Error(u"Unknown option: \"/X\"\r\n"), kF5},
      {u"/DR", kF5, 1, u"", Error(u"Unknown option: \"/DR\"\r\n"), kF5},
      {u"\" \"", kF5, 1, u"", Error(u"Unknown key name: \"\"\r\n"), kF5},
      {u"foo", kF5, 1, u"", Error(u"Unknown key name: \"FOO\"\r\n"), kF5},
      {u"Ctrl-C", kF5, 1, u"", Error(u"Invalid hotkey: \"CTRL-C\"\r\n"), kF5},
      {u"a", kF5, 1, u"", Error(u"Key not allowed: \"A\"\r\n"), kF5},
      {u"/d ctrl-s", kF5, 1, u"", Error(u"Invalid hotkey: \"CTRL-S\"\r\n"), kF5},
      {u"/l /s", kF5, 1, u"", Error(u"Can\u2019t combine /L with other options\r\n"), kF5},
      {u"/L /D", kF5, 1, u"", Error(u"Can\u2019t combine /L with other options\r\n"), kF5},
      {u"/D/R", kF5, 1, u"", Error(u"Can\u2019t combine /D and /R\r\n"), kF5},
      // Argument text around its capacity: a word one short of it and one
      // that fills it are refused only as key names; one more overflows.
      {longest.substr(1), kF5, 1, u"",
       Error(u"Unknown key name: \"" + std::u16string(MAX_ARG_LEN - 2, u'X') + u"\"\r\n"), kF5},
      {longest, kF5, 1, u"",
       Error(u"Unknown key name: \"" + std::u16string(MAX_ARG_LEN - 1, u'X') + u"\"\r\n"), kF5},
      {longest + u"x", kF5, 1, u"", Error(u"Buffer overflow: b = 8191, MAX_ARG_LEN = 8192 \r\n"),
       kF5},
      // The list of every key; a key given with it is not put in force.
      {u"/L", kF5, 0, listing, u"", kF5},
      {u"/l /q", kF5, 0, listing, u"", kF5},
      {u"/L ctrl-alt-k", kF5, 0, listing, u"", kF5},
      // Help, with and without the version line; nothing else takes effect.
      {u"/? /x", kF5, 0, kMarivexKeyHelp, u"", kF5},
      {u"ctrl-alt-k /?", kF5, 0, kMarivexKeyHelp, u"", kF5},
      {u"/?x", kF5, 0, kMarivexKeyHelp, u"", kF5},
      {u"/??", kF5, 0,
       std::u16string(kMarivexKeyHelp) + u"\n\t\t\t\tMarivex version " MARIVEX_VERSION_SHOWN
                                         " (x64)\r\n",
       u"", kF5},
      // Restoring the default; a key given with it wins.
      {u"/d/q", kF5, 0, u"", u"", DEFAULT_HOTKEY},
      {u"/D", kF5, 0, u"Default plugin settings restored.\r\n" + Display(u"Ctrl-Alt-U"), u"",
       DEFAULT_HOTKEY},
      {u"/D ctrl-alt-k", kF5, 0, u"Default plugin settings restored.\r\n" + Display(u"Ctrl-Alt-K"),
       u"", kCtrlAltK},
      // Nothing saved under either root: no error, the hotkey stays.
      {u"/R", kF5, 0, u"Settings not found in the registry.\r\n" + Display(u"F5"), u"", kF5},
      {u"/R /Q", kF5, 0, u"", u"", kF5},
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    const CommandCase& c = kCases[row];
    SCOPED_TRACE(testing::Message()
                 << "row " << row << ": " << testing::PrintToString(c.arguments.substr(0, 40)));
    currentHotkey = c.hotkeyBefore;
    output.Clear();
    EXPECT_EQ(Run(c.arguments), c.exitCode);
    EXPECT_EQ(output.Out(), c.out);
    EXPECT_EQ(output.Err(), c.err);
    EXPECT_EQ(currentHotkey, c.hotkeyAfter);
  }
}

TEST_F(MarivexKeyTest, RestoresFromTheRegistry) {
  const std::u16string hkcu = u"(HKCU\\" + kSubkey + u")";
  const std::u16string hklm = u"(HKLM\\" + kSubkey + u")";

  registry.WriteDword(HKEY_LOCAL_MACHINE, static_cast<uint32_t>(kCtrlAltL));
  currentHotkey = kF5;
  EXPECT_EQ(Run(u"/R"), 0);
  EXPECT_EQ(output.Out(),
            u"Settings restored from the registry " + hklm + u".\r\n" + Display(u"Ctrl-Alt-L"));
  EXPECT_EQ(currentHotkey, kCtrlAltL);

  registry.WriteDword(HKEY_CURRENT_USER, 0);
  output.Clear();
  EXPECT_EQ(Run(u"/R"), 0);
  EXPECT_EQ(output.Out(),
            u"Settings restored from the registry " + hkcu + u".\r\n" + Display(u"None"));
  EXPECT_EQ(currentHotkey, 0);

  output.Clear();
  EXPECT_EQ(Run(u"/R ctrl-alt-k"), 0);
  EXPECT_EQ(output.Out(),
            u"Settings restored from the registry " + hkcu + u".\r\n" + Display(u"Ctrl-Alt-K"));
  EXPECT_EQ(currentHotkey, kCtrlAltK);
  EXPECT_EQ(output.Err(), u"");
}

TEST_F(MarivexKeyTest, SavesUnderTheChosenRoot) {
  static const struct {
    const char16_t* arguments;
    platform::HKEY root;
    const char16_t* rootName;
    int32_t stored;
  } kCases[] = {
      {u"/D /S", HKEY_CURRENT_USER, u"HKCU", DEFAULT_HOTKEY},
      {u"ctrl-alt-k /S!", HKEY_LOCAL_MACHINE, u"HKLM", kCtrlAltK},
      {u"/S /S!", HKEY_LOCAL_MACHINE, u"HKLM", kF5},
      {u"/S! /S", HKEY_CURRENT_USER, u"HKCU", kF5},
      {u"none /s", HKEY_CURRENT_USER, u"HKCU", 0},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.arguments)));
    testing_support::ScratchRegistry scratch;
    currentHotkey = kF5;
    output.Clear();
    EXPECT_EQ(Run(row.arguments), 0);
    const std::u16string saved = u"\r\nSettings saved to the registry (" +
                                 std::u16string(row.rootName) + u"\\" + kSubkey + u").\r\n";
    EXPECT_EQ(output.Out().substr(output.Out().size() - saved.size()), saved);
    EXPECT_EQ(output.Err(), u"");
    const auto value = scratch.Read(row.root);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, platform::REG_DWORD);
    const auto stored = static_cast<uint32_t>(row.stored);
    EXPECT_EQ(value->data,
              (std::vector<uint8_t>{static_cast<uint8_t>(stored), static_cast<uint8_t>(stored >> 8),
                                    static_cast<uint8_t>(stored >> 16),
                                    static_cast<uint8_t>(stored >> 24)}));
    const platform::HKEY other =
        row.root == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    EXPECT_FALSE(scratch.Read(other).has_value());
  }
}

// Only the native stand-in can be told to refuse writes.
#if !defined(_WIN32)
TEST_F(MarivexKeyTest, RefusedSaveKeepsTheNewHotkeyAndExitsWithTwo) {
  registry.RefuseWrites(HKEY_LOCAL_MACHINE);
  const std::u16string errors =
      Error(u"Error saving settings to the registry (HKLM\\" + kSubkey + u") :\r\n") +
      u"    Access is denied.\r\n";
  EXPECT_EQ(Run(u"ctrl-alt-k /S!"), 2);
  EXPECT_EQ(output.Out(), Display(u"Ctrl-Alt-K"));
  EXPECT_EQ(output.Err(), errors);
  EXPECT_EQ(currentHotkey, kCtrlAltK);

  output.Clear();
  EXPECT_EQ(Run(u"/Q /D /S!"), 2);
  EXPECT_EQ(output.Out(), u"");
  EXPECT_EQ(output.Err(), errors);
  EXPECT_EQ(currentHotkey, DEFAULT_HOTKEY);
}
#endif

TEST_F(MarivexKeyTest, NullTextIsRefusedSilently) {
  EXPECT_EQ(marivexkey(nullptr), 1);
  EXPECT_EQ(output.Out(), u"");
  EXPECT_EQ(output.Err(), u"");
}

TEST_F(MarivexKeyTest, TheShellRunsItInAnyCaseAndKeepsTheExitCode) {
  ASSERT_EQ(HostLoadPlugin(testing_support::PluginFile()), 0);
  output.Clear();
  EXPECT_EQ(HostExecute(u"MarivexKey /x"), 1);
  EXPECT_EQ(HostExecute(u"echo %?"), 0);
  EXPECT_EQ(output.Out(), u"1\r\n");
  EXPECT_EQ(output.Err(), Error(u"Unknown option: \"/X\"\r\n"));
  HostUnloadPlugin();
}

}  // namespace
