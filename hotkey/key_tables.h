// The two key schemes as constant data. Each scheme is a key table (a key
// name and its code under each modifier column) and an alias table (other
// names a user may type for a key); both share the column name prefixes.
#pragma once

#include <cstddef>
#include <cstdint>

// The modifier columns of a key row, in the order of the codes in the row.
// The classic key scheme has the first six; the extended scheme all seven.
enum ModifierColumn : size_t {
  kPlainColumn = 0,
  kShiftColumn = 1,
  kCtrlColumn = 2,
  kAltColumn = 3,
  kCtrlShiftColumn = 4,
  kCtrlAltColumn = 5,
  kCtrlAltShiftColumn = 6,
};

// A key and its code under each modifier column. A code above 0 is a
// combination that may serve as the hotkey; -1 marks a combination that has
// no code and -2 one that exists but may not be the hotkey.
template <size_t NameCapacity, size_t ColumnCount>
struct KeyRow {
  static constexpr size_t kColumnCount = ColumnCount;
  char16_t name[NameCapacity];
  int32_t codes[ColumnCount];
};

using ClassicKeyRow = KeyRow<8, 6>;
using ExtendedKeyRow = KeyRow<10, 7>;

// Another name for a key: typing alias means the key named keyName.
struct KeyAlias {
  char16_t alias[16];
  char16_t keyName[10];
};

// The classic key scheme, for hosts before version 24.
extern const ClassicKeyRow kClassicKeyTable[74];
extern const KeyAlias kClassicAliasTable[17];

// The extended key scheme, for hosts of version 24 and later.
extern const ExtendedKeyRow kExtendedKeyTable[72];
extern const KeyAlias kExtendedAliasTable[25];

// The name prefix of each modifier column, indexed by ModifierColumn.
extern const char16_t* const kModifierPrefixes[7];
