// Start-up as a host performs it: the key scheme, the saved hotkey and the
// load message.
#include <gtest/gtest.h>

#include <string>

#include "base/version.h"
#include "tests/fixtures/host_session.h"
#include "tests/fixtures/scratch_registry.h"

namespace {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

std::u16string LoadMessage(const std::u16string& hotkey) {
  return u"Marivex v" MARIVEX_VERSION_SHOWN " loaded; hotkey is " + hotkey + u".\r\n";
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { HostReset(); }
  void TearDown() override {
    HostUnloadPlugin();
    HostReset();
  }
  // Loads the plug-in and returns what start-up printed.
  std::u16string Load() {
    output.Clear();
    EXPECT_EQ(HostLoadPlugin(testing_support::PluginFile()), 0);
    EXPECT_EQ(output.Err(), u"");
    return output.Out();
  }
  // The hotkey in force, as the command shows it.
  std::u16string Hotkey() {
    output.Clear();
    EXPECT_EQ(HostExecute(u"marivexkey"), 0);
    const std::u16string out = output.Out();
    const size_t dots = out.rfind(u". ");
    return out.substr(dots + 2, out.size() - dots - 4);
  }

  testing_support::ScratchRegistry registry;
  testing_support::OutputCapture output;
};

TEST_F(StartupTest, LoadMessageOnlyInAnInteractiveShell) {
  static const struct {
    const char* what;
    bool transient, pipe;
    std::u16string noLoadMessage;  // empty: not set
    bool shown;
  } kCases[] = {
      {"interactive", false, false, u"", true},
      {"transient", true, false, u"", false},
      {"in a pipe", false, true, u"", false},
      {"noloadmsg set", false, false, u"1", false},
      {"noloadmsg set to 0", false, false, u"0", false},
      // The host writes the whole expansion, up to 8,192 characters.
      {"noloadmsg of 5,000 characters", false, false, std::u16string(5000, u'x'), false},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.what);
    HostReset();
    HostSetTransient(row.transient);
    HostSetPipe(row.pipe);
    HostSetVariable(u"NoLoadMsg", row.noLoadMessage.empty() ? nullptr : row.noLoadMessage.c_str());
    EXPECT_EQ(Load(), row.shown ? LoadMessage(u"Ctrl-Alt-U") : u"");
    EXPECT_EQ(Hotkey(), u"Ctrl-Alt-U") << "nothing else changes";
  }
}

TEST_F(StartupTest, PerUserSettingBeforeTheMachineOne) {
  static const struct {
    const char* what;
    int64_t user;     // -1: no value
    int64_t machine;  // -1: no value
    const char16_t* hotkey;
  } kCases[] = {
      {"nothing saved", -1, -1, u"Ctrl-Alt-U"},
      {"per user", 0x50025, 0x50026, u"Ctrl-Alt-K"},
      {"machine only", -1, 0x50026, u"Ctrl-Alt-L"},
      {"per-user zero is found", 0, 0x50026, u"None"},
      {"per-user unacceptable", 0x12345, 0x50026, u"Ctrl-Alt-L"},
      {"both unacceptable", 0x12345, 0x80000000, u"Ctrl-Alt-U"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.what);
    testing_support::ScratchRegistry scratch;
    if (row.user >= 0) scratch.WriteDword(HKEY_CURRENT_USER, static_cast<uint32_t>(row.user));
    if (row.machine >= 0)
      scratch.WriteDword(HKEY_LOCAL_MACHINE, static_cast<uint32_t>(row.machine));
    EXPECT_EQ(Load(), LoadMessage(row.hotkey));
    EXPECT_EQ(Hotkey(), row.hotkey);
    HostUnloadPlugin();
  }
}

TEST_F(StartupTest, TheHostVersionChoosesTheSchemeBeforeTheSettingLoads) {
  registry.WriteDword(HKEY_CURRENT_USER, 0x70016);  // Ctrl-Alt-Shift-U: extended only
  HostSetVersion(u"23.00");
  EXPECT_EQ(Load(), LoadMessage(u"Ctrl-Alt-U"));
  HostUnloadPlugin();
  HostSetVersion(u"24");
  EXPECT_EQ(Load(), LoadMessage(u"Ctrl-Alt-Shift-U"));
}

}  // namespace
