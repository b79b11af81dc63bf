// Parsing and naming key combinations, and the key list, under both schemes.
#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "tests/fixtures/host_session.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using testing_support::ForBothSchemes;
using testing_support::Hex;
using testing_support::KeySchemeTest;
using testing_support::Utf8;

using KeyNamesTest = KeySchemeTest;

// The code of a combination name under each scheme.
struct ParseCase {
  const char16_t* text;
  int32_t classic;
  int32_t extended;
};

const ParseCase kParseCases[] = {
    // Modifier words in any case and order, abbreviated, repeated.
    {u"Ctrl-Alt-U", 0x50016, 0x50016},
    {u"ctrl-alt-u", 0x50016, 0x50016},
    {u"Alt-Ctrl-U", 0x50016, 0x50016},
    {u"c-a-u", 0x50016, 0x50016},
    {u"Control-Alt-U", 0x50016, 0x50016},
    {u"CTL-ALT-U", 0x50016, 0x50016},
    {u"Ctrl-Ctrl-Alt-U", 0x50016, 0x50016},
    {u"s-F1", 0x10054, 0x10054},
    // Alt with Shift has no column; Ctrl, Alt and Shift only the extended one.
    {u"Alt-Shift-F1", 0, 0},
    {u"Shift-Alt-Ctrl-F1", 0, 0x7005e},
    {u"Ctrl-Alt-Shift-F1", 0, 0x7005e},
    {u"Ctrl-Alt-Shift-B", 0, 0x7003e},
    {u"Ctrl-Alt-B", 0x50030, 0x50030},
    // A lone "a" is the key A, not Alt.
    {u"a", -2, -2},
    // "-" is the first character of an empty component.
    {u"-", -2, -2},
    {u"Alt--", 0x10082, 0x108bd},
    {u"Ctrl--", -1, 0x8bd},
    // No key name, a component that is no modifier word, untrimmed text.
    {u"Ctrl-", 0, 0},
    {u"", 0, 0},
    {u"F1-", 0, 0},
    {u"Ctrl---", 0, 0},
    {u"Ctrl - F1", 0, 0},
    {u" F1", 0, 0},
    {u"F1 ", 0, 0},
    {u"Shift", 0, 0},
    {u"None", 0, 0},
    // Aliases, some of them only in one scheme.
    {u"PageUp", 0x10049, 0x10049},
    {u"Ctrl-pgdn", 0x10076, 0x10076},
    {u"Ctrl-Backspace", 0x7f, 0x7f},
    {u"Ctrl-BkSp", 0x7f, 0x7f},
    {u"Alt-+", 0, 0x10083},
    {u"Alt-=", 0x10083, 0x10083},
    {u"Ctrl-=", -1, 0x8bb},
    {u"Alt-Minus", 0x10082, 0x108bd},
    {u"Alt-Slash", 0x10035, 0},
    {u"Alt-Backquote", 0x10029, 0},
    {u"Alt-Grave", 0x10029, 0x10860},
    {u"Alt-`", 0, 0x10860},
    {u"Ctrl-Multiply", 0, 0x10037},
    {u"Ctrl-Num*", 0x10037, 0},
    {u"Ctrl-Shift-Num*", 0x30037, 0},
    // Only ASCII letters fold: the single-character aliases match exactly.
    {u"Ctrl-\u00bd", 0, 0x8bd},
    {u"Ctrl-\u00db", 0, 0x8db},
    {u"Ctrl-\u00fb", 0, 0},
    {u"Alt-\u00dc", 0, 0x1002b},
    {u"Alt-\u00fc", 0, 0},
    // The classic key Num-: a "-" ending the text right after "Num" belongs
    // to the key name.
    {u"Num-", -2, 0},
    {u"Ctrl-Num-", 0x1004a, 0},
    {u"ctrl-alt-num-", 0x5004a, 0},
    {u"Ctrl-Shift-Num-", 0x3004a, 0},
    {u"Alt-Num-", -2, 0},
    {u"Alt-Shift-Num-", 0, 0},
    {u"Ctrl-Num+", 0x1004e, 0},
    {u"Ctrl-Shift-Num+", 0x3004a, 0},
    {u"Num", 0, 0},
    {u"Num--", 0, 0},
    {u"Ctrl-Num--", 0, 0},
    {u"Ctrl-Num-U", 0, 0},
    {u"-Num-", 0, 0},
};

TEST_F(KeyNamesTest, ParseUnderBothSchemes) {
  for (const ParseCase& row : kParseCases) {
    SCOPED_TRACE(Utf8(row.text));
    extendedKeys = 0;
    EXPECT_EQ(Hex(ParseKeyName(row.text)), Hex(row.classic)) << "classic";
    extendedKeys = 1;
    EXPECT_EQ(Hex(ParseKeyName(row.text)), Hex(row.extended)) << "extended";
  }
  EXPECT_EQ(ParseKeyName(nullptr), 0);
}

// A component holds at most 1,023 characters; longer ones never match, and
// the number of components is not limited.
TEST_F(KeyNamesTest, ParseLongComponentsAndManyModifiers) {
  const std::u16string longest(1023, u'x');
  const struct {
    std::u16string text;
    int32_t code;
  } kCases[] = {
      {u"Ctrl-" + longest, 0},         {u"Ctrl-" + longest + u"x", 0},
      {u"Ctrl-" + longest + u"xx", 0}, {longest + u"-U", 0},
      {longest + u"x-U", 0},           {u"Ctrl-" + std::u16string(1024, u'-'), 0},
  };
  ForBothSchemes([&](const auto&, const auto&) {
    for (size_t row = 0; row < std::size(kCases); ++row) {
      SCOPED_TRACE(row);
      EXPECT_EQ(ParseKeyName(kCases[row].text.c_str()), kCases[row].code);
    }
    std::u16string manyModifiers;
    for (int i = 0; i < 3000; ++i) manyModifiers += u"ctrl-";
    EXPECT_EQ(ParseKeyName((manyModifiers + u"Alt-U").c_str()), 0x50016);
  });
}

std::u16string FormatCurrentHotkey(int32_t hotkey, int32_t* result) {
  currentHotkey = hotkey;
  char16_t name[kMaxNameLen];
  std::fill(std::begin(name), std::end(name), u'#');
  *result = FormatKeyName(name);
  EXPECT_NE(std::find(std::begin(name), std::end(name), u'\0'), std::end(name));
  return name;
}

TEST_F(KeyNamesTest, FormatTheCurrentHotkey) {
  const struct {
    int32_t hotkey;
    const char16_t* classicName;
    const char16_t* extendedName;
  } kCases[] = {
      {0, u"None", u"None"},
      {0x50016, u"Ctrl-Alt-U", u"Ctrl-Alt-U"},
      {0x3004a, u"Ctrl-Shift-Num+", nullptr},
      {0x1004a, u"Ctrl-Num-", nullptr},
      {0x10083, u"Alt-=", u"Alt-Plus"},
      {0x10082, u"Alt--", nullptr},
      {0x108bd, nullptr, u"Alt-Minus"},
      {0x7005e, nullptr, u"Ctrl-Alt-Shift-F1"},
      {0x7003e, nullptr, u"Ctrl-Alt-Shift-B"},
      {0x10860, nullptr, u"Alt-`"},
      {0x70030, nullptr, nullptr},
      {0x1002b, u"Alt-\\", u"Alt-\\"},
      {-1, nullptr, nullptr},
      {-2, nullptr, nullptr},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(Hex(row.hotkey));
    int scheme = 0;
    ForBothSchemes([&](const auto&, const auto&) {
      const char16_t* expected = scheme++ == 0 ? row.classicName : row.extendedName;
      int32_t result = 0;
      const std::u16string name = FormatCurrentHotkey(row.hotkey, &result);
      EXPECT_EQ(Utf8(name), Utf8(expected != nullptr ? expected : u"(unknown)"));
      EXPECT_EQ(result, expected != nullptr ? 0 : -1);
    });
  }
}

// Every cell can be typed as its column's prefix and its key's name, and
// every code that can be the hotkey is named so that its name parses back.
TEST_F(KeyNamesTest, EveryCellSurvivesNameAndCode) {
  ForBothSchemes([](const auto& keys, const auto&) {
    for (const auto& row : keys) {
      for (size_t c = 0; c < CountOf(row.codes); ++c) {
        const int32_t code = row.codes[c];
        const std::u16string cellName = std::u16string(kModifierPrefixes[c]) + row.name;
        SCOPED_TRACE(Utf8(cellName) + " " + Hex(code));
        EXPECT_EQ(Hex(ParseKeyName(cellName.c_str())), Hex(code));
        if (code <= 0) continue;
        EXPECT_TRUE(IsAcceptableHotkey(code));
        int32_t result = -1;
        const std::u16string formatted = FormatCurrentHotkey(code, &result);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(Hex(ParseKeyName(formatted.c_str())), Hex(code)) << Utf8(formatted);
      }
    }
  });
}

// An alias names a key of its own scheme (a key's cells hold a code, -1 or -2,
// never 0) and parses as that key does under every prefix.
TEST_F(KeyNamesTest, EveryAliasStandsForItsKey) {
  ForBothSchemes([](const auto&, const auto& aliases) {
    for (const KeyAlias& alias : aliases) {
      SCOPED_TRACE(Utf8(alias.alias));
      EXPECT_NE(ParseKeyName(alias.keyName), 0) << Utf8(alias.keyName) << " is no key";
      for (const char16_t* prefix : {u"", u"Ctrl-", u"Alt-", u"Ctrl-Alt-"}) {
        EXPECT_EQ(ParseKeyName((prefix + std::u16string(alias.alias)).c_str()),
                  ParseKeyName((prefix + std::u16string(alias.keyName)).c_str()));
      }
    }
  });
}

// The lines ListKeyNames writes, each with its own call to the host and its
// line break with another.
std::vector<std::u16string> ListedLines() {
  std::vector<std::u16string> writes;
  HostSetOutputSink(
      [](int stream, const char16_t* text, size_t length, void* context) {
        EXPECT_EQ(stream, HOST_STDOUT);
        static_cast<std::vector<std::u16string>*>(context)->emplace_back(text, length);
      },
      &writes);
  ListKeyNames();
  HostSetOutputSink(nullptr, nullptr);
  EXPECT_EQ(writes.size() % 2, 0u);
  std::vector<std::u16string> lines;
  for (size_t i = 0; i < writes.size(); ++i) {
    if (i % 2 == 0) {
      lines.push_back(writes[i]);
    } else {
      EXPECT_EQ(writes[i], u"\r\n") << "write " << i;
    }
  }
  return lines;
}

std::vector<std::u16string> Entries(const std::u16string& line) {
  std::vector<std::u16string> entries;
  const std::u16string separator = u" \u00b7 ";
  size_t start = 0;
  for (size_t at; (at = line.find(separator, start)) != std::u16string::npos;) {
    entries.push_back(line.substr(start, at - start));
    start = at + separator.size();
  }
  entries.push_back(line.substr(start));
  return entries;
}

// Each line holds a row's combinations that may be the hotkey, in column
// order, and each of them can be typed back as printed.
TEST_F(KeyNamesTest, ListEveryKeyInTableOrder) {
  ForBothSchemes([](const auto& keys, const auto&) {
    const std::vector<std::u16string> lines = ListedLines();
    ASSERT_EQ(lines.size(), CountOf(keys));
    for (size_t r = 0; r < lines.size(); ++r) {
      SCOPED_TRACE(Utf8(lines[r]));
      std::vector<int32_t> expected;
      for (int32_t code : keys[r].codes) {
        if (code > 0) expected.push_back(code);
      }
      std::vector<int32_t> parsed;
      for (const std::u16string& entry : Entries(lines[r]))
        parsed.push_back(ParseKeyName(entry.c_str()));
      EXPECT_EQ(parsed, expected);
    }
  });
}

// Lines spelt out: the row Num/ has a single entry, Num- and Num+ both list
// the Ctrl-Shift code they share, the extended B ends with Ctrl-Alt-Shift-B.
TEST_F(KeyNamesTest, ListedLinesOfNote) {
  static const struct {
    int32_t extended;
    size_t line;
    const char* text;
  } kCases[] = {
      {0, 0,
       "F1 \u00b7 Shift-F1 \u00b7 Ctrl-F1 \u00b7 Alt-F1 \u00b7 Ctrl-Shift-F1 \u00b7 Ctrl-Alt-F1"},
      {0, 70, "Ctrl-Shift-Num/"},
      {0, 72, "Ctrl-Num- \u00b7 Ctrl-Shift-Num- \u00b7 Ctrl-Alt-Num-"},
      {0, 73, "Ctrl-Num+ \u00b7 Ctrl-Shift-Num+ \u00b7 Ctrl-Alt-Num+"},
      {1, 23, "Ctrl-B \u00b7 Alt-B \u00b7 Ctrl-Shift-B \u00b7 Ctrl-Alt-B \u00b7 Ctrl-Alt-Shift-B"},
      {1, 62,
       "Shift-Enter \u00b7 Ctrl-Enter \u00b7 Ctrl-Shift-Enter \u00b7 Ctrl-Alt-Enter \u00b7 "
       "Ctrl-Alt-Shift-Enter"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.text);
    extendedKeys = row.extended;
    EXPECT_EQ(Utf8(ListedLines().at(row.line)), row.text);
  }
}

}  // namespace
