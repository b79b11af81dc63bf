// The shape of both key schemes' tables: what the key names, codes and
// aliases must satisfy for parsing and naming to be unambiguous.
#include <map>
#include <set>
#include <string>

#include "base/text.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using testing_support::ForBothSchemes;
using testing_support::Hex;
using testing_support::KeySchemeTest;
using testing_support::Utf8;

template <typename Row, size_t N>
const Row& RowNamed(const Row (&keys)[N], std::u16string_view name) {
  for (const Row& row : keys) {
    if (name == row.name) return row;
  }
  ADD_FAILURE() << "no row " << Utf8(name);
  return keys[0];
}

using KeyTablesTest = KeySchemeTest;

// A short initialiser list would leave empty rows; a name filling its field
// would leave no terminator.
TEST_F(KeyTablesTest, NamesAreTerminatedDistinctAndEachRowHasAHotkey) {
  ForBothSchemes([](const auto& keys, const auto&) {
    std::set<std::u16string> folded;
    for (const auto& row : keys) {
      const std::u16string name(row.name, TextLength(row.name));
      SCOPED_TRACE(Utf8(name));
      EXPECT_FALSE(name.empty());
      EXPECT_EQ(row.name[CountOf(row.name) - 1], u'\0');
      std::u16string lower;
      for (char16_t c : name) lower += AsciiLower(c);
      EXPECT_TRUE(folded.insert(lower).second) << "a second row of that name";
      bool anyPositive = false;
      for (int32_t code : row.codes) anyPositive = anyPositive || code > 0;
      EXPECT_TRUE(anyPositive) << "no combination of this key may be the hotkey";
    }
  });
}

// The key hook adds bit 17 for Ctrl-Shift and bit 18 for Ctrl-Alt to the
// host's 17-bit code, so each column's codes carry exactly its bits.
TEST_F(KeyTablesTest, ColumnBitsOfEveryPositiveCode) {
  const int32_t columnBits[] = {0, 0, 0, 0, 0x20000, 0x40000, 0x60000};
  ForBothSchemes([&](const auto& keys, const auto&) {
    for (const auto& row : keys) {
      for (size_t c = 0; c < CountOf(row.codes); ++c) {
        const int32_t code = row.codes[c];
        SCOPED_TRACE(Utf8(row.name) + " column " + std::to_string(c) + " " + Hex(code));
        if (code > 0) {
          EXPECT_EQ(code & 0x60000, columnBits[c]);
          EXPECT_EQ(code >> 19, 0);
        } else {
          EXPECT_TRUE(code == -1 || code == -2);
        }
      }
    }
  });
}

// Stored settings hold these codes, so they stay as they are.
TEST_F(KeyTablesTest, TheTwoCodesThatBreakThePattern) {
  for (const char16_t* name : {u"Num*", u"Num-"}) {
    const ClassicKeyRow& row = RowNamed(kClassicKeyTable, name);
    EXPECT_EQ(row.codes[kCtrlShiftColumn], row.codes[kCtrlColumn] + 0x20000) << Utf8(name);
  }
  const ClassicKeyRow& numPlus = RowNamed(kClassicKeyTable, u"Num+");
  EXPECT_EQ(numPlus.codes[kCtrlColumn], 0x1004e);
  EXPECT_EQ(numPlus.codes[kCtrlShiftColumn], 0x3004a);

  for (const ExtendedKeyRow& row : kExtendedKeyTable) {
    const int32_t ctrlAlt = row.codes[kCtrlAltColumn];
    const int32_t ctrlAltShift = row.codes[kCtrlAltShiftColumn];
    if (ctrlAlt <= 0 || std::u16string_view(row.name) == u"B") continue;
    EXPECT_EQ(ctrlAltShift, ctrlAlt + 0x20000) << Utf8(row.name);
  }
  const ExtendedKeyRow& b = RowNamed(kExtendedKeyTable, u"B");
  EXPECT_EQ(b.codes[kCtrlAltColumn], 0x50030);
  EXPECT_EQ(b.codes[kCtrlAltShiftColumn], 0x7003e);
}

TEST_F(KeyTablesTest, OnlyDuplicateCodeIsCtrlShiftNumMinusAndPlus) {
  std::set<int32_t> duplicates[2];
  int scheme = 0;
  ForBothSchemes([&](const auto& keys, const auto&) {
    std::map<int32_t, int> seen;
    for (const auto& row : keys) {
      for (int32_t code : row.codes) {
        if (code > 0 && ++seen[code] == 2) duplicates[scheme].insert(code);
      }
    }
    ++scheme;
  });
  EXPECT_EQ(duplicates[0], std::set<int32_t>{0x3004a});
  EXPECT_EQ(duplicates[1], std::set<int32_t>{});
}

// Aliases are tried before key names; an alias that equalled a key name would
// hide that key, and one that equalled an earlier alias would never apply.
TEST_F(KeyTablesTest, AliasesAreDistinctAndNameKeysOfTheirScheme) {
  ForBothSchemes([](const auto& keys, const auto& aliases) {
    for (size_t a = 0; a < CountOf(aliases); ++a) {
      const KeyAlias& alias = aliases[a];
      SCOPED_TRACE(Utf8(alias.alias));
      EXPECT_NE(alias.alias[0], u'\0');
      EXPECT_EQ(alias.alias[CountOf(alias.alias) - 1], u'\0');
      for (size_t b = 0; b < a; ++b)
        EXPECT_FALSE(TextEqualsIgnoreCase(alias.alias, aliases[b].alias));
      bool namesAKey = false;
      for (const auto& row : keys) {
        EXPECT_FALSE(TextEqualsIgnoreCase(alias.alias, row.name)) << "an alias equal to a key name";
        namesAKey = namesAKey || std::u16string_view(alias.keyName) == row.name;
      }
      EXPECT_TRUE(namesAKey) << Utf8(alias.keyName) << " is no key of this scheme";
      for (const KeyAlias& later : aliases) {
        EXPECT_FALSE(TextEqualsIgnoreCase(alias.keyName, later.alias)) << "a chain of aliases";
      }
    }
  });
}

}  // namespace
