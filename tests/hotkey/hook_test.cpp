// The keystroke hook and the conversion of the word at the cursor.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "plugin/exports.h"
#include "tests/fixtures/guarded_buffer.h"
#include "tests/fixtures/host_session.h"
#include "tests/hotkey/key_test_support.h"

#if !defined(_WIN32)
#include "platform/posix/standin.h"
#endif

namespace {

constexpr int32_t kCtrlAltU = 0x50016;
constexpr int32_t kAltU = 0x10016;
// A command line as the host hands it to the hook, in a buffer of 65,536
// characters with a guard after them.
struct Keystroke {
  explicit Keystroke(const std::u16string& text, size_t cursorAt, int32_t code = kAltU)
      : buffer(kMaxLineLen, text) {
    record.keyCode = code;
    record.line = buffer.Data();
    record.cursor = buffer.Data() + cursorAt;
  }
  std::u16string Line() const { return buffer.Text(); }
  size_t Cursor() const { return static_cast<size_t>(record.cursor - record.line); }
  bool GuardIntact() const { return buffer.GuardIntact(); }

  testing_support::GuardedBuffer buffer;
  KeystrokeRecord record{};
};

class HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostReset();
    HostSetCurrentDirectory(u"C:\\Temp");
    HostSetClearLineHandler(&HookTest::CountClear, this);
    currentHotkey = kCtrlAltU;
#if !defined(_WIN32)
    standin::ReleaseAllKeys();
    standin::SetSoundHandler([this](const char16_t* sound, platform::DWORD flags) {
      sounds.push_back({reinterpret_cast<uintptr_t>(sound), flags});
    });
#endif
  }
  void TearDown() override {
    HostSetClearLineHandler(nullptr, nullptr);
#if !defined(_WIN32)
    standin::ReleaseAllKeys();
    standin::SetSoundHandler(nullptr);
#endif
    HostReset();
  }

  // Presses the key with Ctrl and Alt held: natively the hook adds the
  // Ctrl-Alt bits itself; under Wine the keys cannot be held, so the record
  // carries them already.
  // Returns the code the hook was given.
  int32_t PressHotkey(Keystroke& keystroke) {
#if !defined(_WIN32)
    standin::SetKeyDown(platform::VK_CONTROL, true);
    standin::SetKeyDown(platform::VK_MENU, true);
#else
    keystroke.record.keyCode |= 0x40000;
#endif
    const int32_t passed = keystroke.record.keyCode;
    key(&keystroke.record);
#if !defined(_WIN32)
    standin::ReleaseAllKeys();
#endif
    return passed;
  }

  static void CountClear(const char16_t*, void* self) {
    ++static_cast<HookTest*>(self)->clears;
  }

  struct Sound {
    uintptr_t id;
    platform::DWORD flags;
  };
  std::vector<Sound> sounds;
  int clears = 0;
  testing_support::OutputCapture output;

 private:
  testing_support::KeyGlobalsGuard guard_;
};

// Each row presses Ctrl-Alt-U once. The word at the cursor is converted and
// the cursor put after it; or, with nothing to convert or no room for the
// result, the line, the cursor and the redraw flag stay and the asterisk
// sounds. Either way the key is swallowed and nothing is written past the line.
// The hook writes no message of its own; a failing name-to-URI conversion
// writes the message it writes for @FILE2URI.
TEST_F(HookTest, ConvertsTheWordAtTheCursorOrGivesUp) {
  const std::u16string letters(8180, u'a');   // "file:///C:/" and these: 8,191
  const std::u16string padding(65522, u'p');  // these and " file:///C:/x": 65,535
  // "%x" is no escape: Windows keeps it, and its "%" goes into the line
  // doubled. The name of "file:///C:/", 100 "%x" and n letters has 303 + n
  // characters once its "%" are doubled: with n = 7,888 it fills the word
  // buffer.
  std::u16string percentX;
  for (int i = 0; i < 100; ++i) percentX += u"%x";
  std::u16string doubledX;
  for (int i = 0; i < 100; ++i) doubledX += u"%%x";
  // The 51 characters of "file:///C:/" + 20 "%x" become a name of 63
  // characters doubled: after these and a blank, the line has 65,535.
  const std::u16string twentyX = percentX.substr(0, 40);
  const std::u16string twentyDoubled = doubledX.substr(0, 60);
  const std::u16string linePadding(65471, u'p');
  const std::u16string noData = u"Marivex plugin: No data returned\r\n";
  const std::u16string missing = u"Marivex plugin: Missing filename\r\n";
  const struct {
    std::u16string line;
    size_t cursor;
    std::optional<std::u16string> converted;  // none: the hook gives up
    size_t cursorAfter;
    std::u16string error = {};  // what is written to standard error
  } kCases[] = {
      // The file name's first character, middle, last, and the blank after it.
      {u"type C:\\Temp\\a.txt more", 5, u"type file:///C:/Temp/a.txt more", 26},
      {u"type C:\\Temp\\a.txt more", 10, u"type file:///C:/Temp/a.txt more", 26},
      {u"type C:\\Temp\\a.txt more", 17, u"type file:///C:/Temp/a.txt more", 26},
      {u"type C:\\Temp\\a.txt more", 18, u"type file:///C:/Temp/a.txt more", 26},
      // The last word, with the cursor at the end of the line.
      {u"type a.txt", 10, u"type file:///C:/Temp/a.txt", 26},
      {u"type a.txt", 12, u"type file:///C:/Temp/a.txt", 26},  // a cursor past the end
      // Relative names and the command itself are made canonical.
      {u"type ..\\b.txt", 6, u"type file:///C:/b.txt", 21},
      {u"type x", 0, u"file:///C:/Temp/type x", 20},
      // Quoted names: the quotes go, the blank is escaped with a doubled "%".
      {u"type \"a b.txt\" x", 8, u"type file:///C:/Temp/a%%20b.txt x", 31},
      {u"type a\"b c\"d x", 6, u"type file:///C:/Temp/ab%%20cd x", 29},
      // An unmatched quote runs to the end of the line.
      {u"type \"a b", 5, u"type file:///C:/Temp/a%%20b", 27},
      // URIs back to names, in any case of the scheme, "%%" collapsed.
      {u"type file:///C:/Temp/a.txt more", 26, u"type C:\\Temp\\a.txt more", 18},
      {u"type FILE:///C:/x.txt", 8, u"type C:\\x.txt", 13},
      {u"type File:///C:/x.txt", 8, u"type C:\\x.txt", 13},
      {u"type file:///C:/Temp/a%%20b.txt x", 10, u"type \"C:\\Temp\\a b.txt\" x", 22},
      {u"type file:///C:/Temp/a%20b.txt", 10, u"type \"C:\\Temp\\a b.txt\"", 22},
      {u"type file:///C:/100%%%25", 10, u"type C:\\100%%%%", 15},
      {u"type file:///C:/a%26b", 10, u"type \"C:\\a&b\"", 13},
      {u"type file:///C:/(a)", 10, u"type C:\\(a)", 11},
      // Letters beyond ASCII, and a "%" of the name, there and back.
      {u"copy C:\\caf\u00e9\\\u4e2d.txt", 8, u"copy file:///C:/caf%%E9/\u4e2d.txt", 29},
      {u"copy file:///C:/caf%%E9/\u4e2d.txt", 8, u"copy C:\\caf\u00e9\\\u4e2d.txt", 18},
      // The shell expands the line when it runs: each "%" of a name goes into
      // the line doubled, and a "%%" of a name is read as one "%", so a name
      // and its URI convert into each other.
      {u"copy C:\\100%.txt", 8, u"copy file:///C:/100%%25.txt", 27},
      {u"copy C:\\100%%.txt", 8, u"copy file:///C:/100%%25.txt", 27},
      {u"copy file:///C:/100%%25.txt", 8, u"copy C:\\100%%.txt", 17},
      {u"copy C:\\50%%b%%off.txt x", 6, u"copy file:///C:/50%%25b%%25off.txt x", 34},
      {u"copy file:///C:/50%%25b%%25off.txt x", 6, u"copy C:\\50%%b%%off.txt x", 22},
      {u"echo file:///C:/x%%25@len[abc]%%25.txt", 6, u"echo C:\\x%%@len[abc]%%.txt", 26},
      {u"copy file:///C:/a%%20%%25", 6, u"copy \"C:\\a %%\"", 14},
      // A double quote in a name would end the quotes around it, and what
      // follows would run as a command.
      {u"echo file:///C:/a%%22%%20%%26%%20echo%%20INJECTED%%20%%26%%20rem%%20%%22.txt", 6,
       std::nullopt, 0},
      // Tabs and other white space delimit words and stay as they were.
      {u"a\tC:\\x\u00a0b", 3, u"a\tfile:///C:/x\u00a0b", 14},
      // No word at the cursor.
      {u"", 0, std::nullopt, 0},
      {u"type  a.txt", 5, std::nullopt, 0},         // the second of two blanks
      {u"  type", 0, std::nullopt, 0},              // white space at the start
      {u"type a.txt  ", 11, std::nullopt, 0},       // after the blank that ends the last word
      {u"type a.txt ", 11, std::nullopt, 0},        // the end of a line ending in white space
      {u"type \"\"", 6, std::nullopt, 0, missing},  // nothing left once the quotes go
      {u"type \" \"", 6, std::nullopt, 0, missing},
      // Conversions that fail: a URI Windows makes no name of, and a name
      // whose URI (each blank a "%20") is too long for Windows.
      {u"type file://localhost/", 6, std::nullopt, 0},
      {u"type \"C:\\" + std::u16string(4000, u' ') + u"x\"", 6, std::nullopt, 0, noData},
      // A URI cut to fit would name another file: "C:\" and 2,100 "#" have
      // a URI of 8,411 characters with each "%" doubled.
      {u"type C:\\" + std::u16string(2100, u'#'), 6, std::nullopt, 0,
       u"Marivex plugin: Error: the URI is too long to return\r\n"},
      // A word of 8,191 characters fits the word buffer; one of 8,192 does not.
      {u"x file:///C:/" + letters, 3, u"x C:\\" + letters, 8185},
      {u"x file:///C:/" + letters + u"a", 3, std::nullopt, 0},
      // A name whose "%" doubled fill the word buffer exactly fits; one more
      // character does not.
      {u"x file:///C:/" + percentX + std::u16string(7888, u'a'), 3,
       u"x C:\\" + doubledX + std::u16string(7888, u'a'), 8193},
      {u"x file:///C:/" + percentX + std::u16string(7889, u'a'), 3, std::nullopt, 0},
      // "C:\x" becomes "file:///C:/x", 8 characters longer: a rebuilt line of
      // 65,535 characters fits the host's line, one of 65,536 does not.
      {padding + u" C:\\x", 65527, padding + u" file:///C:/x", 65535},
      {padding + u"p C:\\x", 65528, std::nullopt, 0},
      // The same with a name that grows by its doubled "%".
      {linePadding + u" file:///C:/" + twentyX, 65473, linePadding + u" C:\\" + twentyDoubled,
       65535},
      {linePadding + u"p file:///C:/" + twentyX, 65474, std::nullopt, 0},
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    SCOPED_TRACE(row);
    const auto& c = kCases[row];
    Keystroke keystroke(c.line, c.cursor);
    clears = 0;
    sounds.clear();
    PressHotkey(keystroke);
    EXPECT_EQ(keystroke.Line(), c.converted.value_or(c.line));
    EXPECT_EQ(keystroke.Cursor(), c.converted ? c.cursorAfter : c.cursor);
    EXPECT_EQ(keystroke.record.redraw, c.converted ? 1 : 0);
    EXPECT_EQ(keystroke.record.keyCode, 0);
    EXPECT_EQ(clears, c.converted ? 1 : 0);
    EXPECT_TRUE(keystroke.GuardIntact());
    EXPECT_EQ(output.Err(), c.error);
    output.Clear();
#if !defined(_WIN32)
    ASSERT_EQ(sounds.size(), c.converted ? 0u : 1u);
    if (!c.converted) {
      EXPECT_EQ(sounds[0].id, platform::SND_ALIAS_SYSTEMASTERISK);
      EXPECT_EQ(sounds[0].flags, platform::SND_ALIAS_ID | platform::SND_ASYNC);
    }
#endif
  }
}

TEST_F(HookTest, OtherKeysPassThroughUntouched) {
  Keystroke keystroke(u"type a.txt", 6, 0x10017);  // Ctrl-Alt-I
  const int32_t passed = PressHotkey(keystroke);
  EXPECT_EQ(keystroke.record.keyCode, passed);
  EXPECT_EQ(keystroke.Line(), u"type a.txt");
  EXPECT_EQ(keystroke.record.redraw, 0);

  currentHotkey = 0;
  for (const int32_t code : {kAltU, kCtrlAltU, 0x1003b}) {
    SCOPED_TRACE(code);
    Keystroke any(u"type a.txt", 6, code);
    PressHotkey(any);
    EXPECT_EQ(any.Line(), u"type a.txt");
    EXPECT_EQ(any.record.redraw, 0);
    EXPECT_NE(any.record.keyCode, 0) << "with no hotkey no key is swallowed";
  }
}

#if !defined(_WIN32)
// Which modifiers add which bits, under each key scheme.
TEST_F(HookTest, ModifierBits) {
  static const struct {
    bool shift, ctrl, alt;
    int32_t classicBits, extendedBits;
  } kCases[] = {
      {false, false, false, 0, 0},
      {true, false, false, 0, 0},
      {false, true, false, 0, 0},
      {false, false, true, 0, 0},
      {true, false, true, 0, 0},
      {true, true, false, 0x20000, 0x20000},
      {false, true, true, 0x40000, 0x40000},
      {true, true, true, 0, 0x60000},
  };
  for (const auto& row : kCases) {
    for (const int32_t extended : {0, 1}) {
      SCOPED_TRACE(testing::Message()
                   << row.shift << row.ctrl << row.alt << " extended " << extended);
      extendedKeys = extended;
      const int32_t bits = extended != 0 ? row.extendedBits : row.classicBits;
      currentHotkey = 0x1003b | bits;  // F1 with exactly these bits
      Keystroke keystroke(u"a", 1, 0x1003b);
      standin::SetKeyDown(platform::VK_SHIFT, row.shift);
      standin::SetKeyDown(platform::VK_CONTROL, row.ctrl);
      standin::SetKeyDown(platform::VK_MENU, row.alt);
      key(&keystroke.record);
      standin::ReleaseAllKeys();
      EXPECT_EQ(keystroke.record.redraw, 1) << "the code with its bits matched";
    }
  }
}

TEST_F(HookTest, LabelsNameKeysUnderTheExtendedSchemeOnly) {
  currentHotkey = 0x508bd;  // Ctrl-Alt-Minus, extended
  for (const int32_t extended : {0, 1}) {
    SCOPED_TRACE(extended);
    extendedKeys = extended;
    std::u16string label = u"Alt-Minus";  // with Ctrl held: Ctrl-Alt-Minus
    Keystroke keystroke(u"a", 1, 0);
    keystroke.record.keyLabel = label.data();
    standin::SetKeyDown(platform::VK_CONTROL, true);
    standin::SetKeyDown(platform::VK_MENU, true);
    key(&keystroke.record);
    standin::ReleaseAllKeys();
    EXPECT_EQ(keystroke.record.redraw, extended);
    EXPECT_EQ(label.c_str()[0] == u'\0', extended == 1)
        << "the label is emptied to swallow the key";
  }
}
#endif

}  // namespace
