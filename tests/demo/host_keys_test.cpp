// The demo host's key codes and labels, and, against the plug-in's own key
// tables and hook, that every combination the demo reports reaches the hook
// as the code its name stands for.
#include "demo/host_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/key_tables.h"
#include "hotkey/settings.h"
#include "platform/posix/standin.h"
#include "plugin/exports.h"
#include "support/utf.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using demo::CombinationName;
using demo::HostKeyOf;
using demo::kAlt;
using demo::kCtrl;
using demo::Key;
using demo::KeyPress;
using demo::KeyScheme;
using demo::kShift;
using testing_support::Hex;
using testing_support::Utf8;

KeyPress Char(char32_t character, unsigned modifiers = 0) {
  return {Key::kCharacter, character, modifiers};
}
KeyPress Named(Key key, unsigned modifiers = 0) {
  return {key, 0, modifiers};
}

// What the host reports under each scheme: a code, or (code 0) a label. The
// test against the plug-in below holds every combination that is or could be
// a hotkey; these rows are what it cannot see.
struct HostKeyRow {
  const char* what;
  KeyPress press;
  int32_t classicCode;
  int32_t extendedCode;
  const char16_t* extendedLabel;  // null: no label
};

const HostKeyRow kHostKeyRows[] = {
    // Typed characters are their own codes; beyond 16 bits there is none.
    {"a", Char(U'a'), 0x61, 0x61, nullptr},
    {"A with Shift", Char(U'A', kShift), 0x41, 0x41, nullptr},
    {"e acute", Char(U'\u00e9'), 0xe9, 0xe9, nullptr},
    {"a character at 0x8bd", Char(U'\u08bd'), 0x8bd, 0x8bd, nullptr},
    {"emoji", Char(U'\U0001f600'), 0, 0, nullptr},
    {"Enter", Named(Key::kEnter), 0x0d, 0x0d, nullptr},
    {"Tab", Named(Key::kTab), 0x09, 0x09, nullptr},
    {"Backspace", Named(Key::kBackspace), 0x08, 0x08, nullptr},
    {"Escape", Named(Key::kEscape), 0x1b, 0x1b, nullptr},
    // A capital with Alt is the letter's combination; Alt with Shift is none.
    {"Alt-U typed capital", Char(U'U', kAlt), 0x10016, 0x10016, nullptr},
    {"Alt-Shift-U", Char(U'u', kAlt | kShift), 0, 0, nullptr},
    // Keys that newer hosts give by label only, in their own names; below
    // 0x800 a code still.
    {"Ctrl-Shift-;", Char(U';', kCtrl | kShift), 0, 0x27, nullptr},
    {"Ctrl-Minus", Char(U'-', kCtrl), 0, 0, u"Ctrl-Minus"},
    {"Alt-Minus", Char(U'-', kAlt), 0x10082, 0, u"Alt-Minus"},
    {"Ctrl-Plus", Char(U'=', kCtrl), 0, 0, u"Ctrl-Plus"},
    {"Alt-Plus", Char(U'=', kAlt), 0x10083, 0x10083, nullptr},
    {"Ctrl-\\", Char(U'\\', kCtrl), 0x1c, 0, u"Ctrl-\\"},
    {"Ctrl-Grave", Char(U'`', kCtrl), 0, 0, u"Ctrl-`"},
    {"Shift-Backspace", Named(Key::kBackspace, kShift), 0, 0, u"Shift-Backspace"},
    {"Ctrl-/", Char(U'/', kCtrl), 0, 0, u"Ctrl-Divide"},
};

TEST(HostKeysTest, CodesAndLabels) {
  for (const auto& row : kHostKeyRows) {
    SCOPED_TRACE(row.what);
    const auto classic = HostKeyOf(row.press, KeyScheme::kClassic);
    EXPECT_EQ(Hex(classic.code), Hex(row.classicCode));
    EXPECT_EQ(Utf8(classic.label), "");
    const auto extended = HostKeyOf(row.press, KeyScheme::kExtended);
    EXPECT_EQ(Hex(extended.code), Hex(row.extendedCode));
    EXPECT_EQ(Utf8(extended.label), Utf8(row.extendedLabel != nullptr ? row.extendedLabel : u""));
  }
}

TEST(HostKeysTest, SchemeFollowsTheHostVersion) {
  const struct {
    const char16_t* version;
    KeyScheme scheme;
  } rows[] = {
      {u"33.00", KeyScheme::kExtended}, {u"24", KeyScheme::kExtended},
      {u"23.9", KeyScheme::kClassic},   {u"8", KeyScheme::kClassic},
      {u"", KeyScheme::kClassic},       {u"101", KeyScheme::kClassic},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Utf8(row.version));
    EXPECT_EQ(demo::KeySchemeOfHostVersion(row.version), row.scheme);
  }
}

// Every key the demo can report, alone and with every set of modifiers.
// Typed characters are their own codes, so the Latin-1 letters U+00E2 to
// U+00EB share theirs with the newer hosts' Ctrl-1 to Ctrl-0: they are left
// out here.
std::vector<KeyPress> AllPresses() {
  std::vector<KeyPress> keys;
  for (const Key key :
       {Key::kEnter, Key::kTab, Key::kBackspace, Key::kEscape, Key::kF1,   Key::kF2,   Key::kF3,
        Key::kF4,    Key::kF5,  Key::kF6,        Key::kF7,     Key::kF8,   Key::kF9,   Key::kF10,
        Key::kF11,   Key::kF12, Key::kHome,      Key::kEnd,    Key::kPgUp, Key::kPgDn, Key::kIns,
        Key::kDel,   Key::kUp,  Key::kDown,      Key::kLeft,   Key::kRight}) {
    keys.push_back(Named(key));
  }
  for (const char32_t c :
       std::u32string(U"abcdefghijklmnopqrstuvwxyz0123456789`-=[]\\;',./ *+_^\u00fc")) {
    keys.push_back(Char(c));
  }
  std::vector<KeyPress> presses;
  for (const KeyPress& key : keys) {
    for (unsigned modifiers = 0; modifiers <= (kShift | kAlt | kCtrl); ++modifiers) {
      presses.push_back({key.key, key.character, modifiers});
    }
  }
  return presses;
}

template <typename Row, size_t N>
std::set<int32_t> PositiveCodes(const Row (&table)[N]) {
  std::set<int32_t> codes;
  for (const Row& row : table) {
    for (const int32_t code : row.codes) {
      if (code > 0) codes.insert(code);
    }
  }
  return codes;
}

class HostKeysAgainstPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::ReleaseAllKeys();
    standin::SetSoundHandler([this](const char16_t*, platform::DWORD) { ++sounds_; });
  }
  void TearDown() override {
    standin::ReleaseAllKeys();
    standin::SetSoundHandler(nullptr);
  }

  // The hotkeys among codes that the press matches in the plug-in's hook,
  // reported as the demo reports it with its modifiers held. On an empty line
  // a match shows as the asterisk sound.
  std::set<int32_t> MatchedHotkeys(const KeyPress& press, KeyScheme scheme,
                                   const std::set<int32_t>& codes) {
    const demo::HostKey hostKey = HostKeyOf(press, scheme);
    std::set<int32_t> matched;
    standin::SetKeyDown(platform::VK_SHIFT, (press.modifiers & kShift) != 0);
    standin::SetKeyDown(platform::VK_CONTROL, (press.modifiers & kCtrl) != 0);
    standin::SetKeyDown(platform::VK_MENU, (press.modifiers & kAlt) != 0);
    for (const int32_t code : codes) {
      currentHotkey = code;
      char16_t line[1] = {u'\0'};
      std::u16string label = hostKey.label;
      KeystrokeRecord record{};
      record.keyCode = hostKey.code;
      record.line = line;
      record.cursor = line;
      record.keyLabel = label.empty() ? nullptr : label.data();
      const int before = sounds_;
      key(&record);
      if (sounds_ != before) matched.insert(code);
    }
    standin::ReleaseAllKeys();
    return matched;
  }

 private:
  testing_support::KeyGlobalsGuard guard_;
  int sounds_ = 0;
};

// Keys that type: characters alone or with Shift; Enter, Tab, Backspace and
// Escape alone.
bool Types(const KeyPress& press) {
  if (press.key == Key::kCharacter) return (press.modifiers & (kCtrl | kAlt)) == 0;
  return press.modifiers == 0 && (press.key == Key::kEnter || press.key == Key::kTab ||
                                  press.key == Key::kBackspace || press.key == Key::kEscape);
}

// Keys that type a control character have its code, as Ctrl with the letter
// does: on a terminal as on the console, Tab is Ctrl-I, Backspace Ctrl-H and
// Enter Ctrl-M.
std::u16string TwinName(const KeyPress& press) {
  if (press.modifiers != 0) return u"";
  if (press.key == Key::kTab) return u"Ctrl-I";
  if (press.key == Key::kBackspace) return u"Ctrl-H";
  return press.key == Key::kEnter ? u"Ctrl-M" : u"";
}

// The plug-in parses a combination's name to the code its hook builds from
// what the demo reports: the name's code matches, and nothing else does. A
// combination whose name is no hotkey (or that has no name) matches nothing,
// unless it has a twin; and unless it types, it is not reported at all (no
// code, no label): the host has no code for it.
TEST_F(HostKeysAgainstPluginTest, ReportedKeysReachTheHookAsTheirNamesParse) {
  const struct {
    KeyScheme scheme;
    int32_t extendedKeys;
    std::set<int32_t> codes;
  } schemes[] = {
      {KeyScheme::kClassic, 0, PositiveCodes(kClassicKeyTable)},
      {KeyScheme::kExtended, 1, PositiveCodes(kExtendedKeyTable)},
  };
  for (const auto& scheme : schemes) {
    extendedKeys = scheme.extendedKeys;
    std::set<int32_t> reached;
    for (const KeyPress& press : AllPresses()) {
      const std::u16string name = CombinationName(press, scheme.scheme);
      SCOPED_TRACE(std::string(scheme.extendedKeys ? "extended " : "classic ") + Utf8(name) +
                   " key " + std::to_string(static_cast<int>(press.key)) + " U+" +
                   std::to_string(static_cast<unsigned long>(press.character)) + " modifiers " +
                   std::to_string(press.modifiers));
      const int32_t parsed = name.empty() ? 0 : ParseKeyName(name.c_str());
      const std::u16string twin = TwinName(press);
      const int32_t twinParsed = twin.empty() ? 0 : ParseKeyName(twin.c_str());
      std::set<int32_t> expected;
      if (parsed > 0) expected.insert(parsed);
      if (twinParsed > 0) expected.insert(twinParsed);
      EXPECT_EQ(MatchedHotkeys(press, scheme.scheme, scheme.codes), expected) << Hex(parsed);
      const demo::HostKey hostKey = HostKeyOf(press, scheme.scheme);
      if (!Types(press)) {
        EXPECT_EQ(hostKey.code != 0 || !hostKey.label.empty(), parsed > 0) << "reported";
      }
      if (parsed > 0) reached.insert(parsed);
    }
    // Most hotkeys of the tables can be pressed on a terminal through the demo.
    EXPECT_GT(reached.size(), scheme.codes.size() * 3 / 4);
  }
}

}  // namespace
