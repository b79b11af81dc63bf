// Parsing, naming, listing and checking key codes under the active key scheme.
#include "hotkey/key_names.h"

#include "base/host_contract.h"
#include "base/text.h"
#include "hotkey/host_version.h"
#include "hotkey/key_tables.h"
#include "hotkey/settings.h"

namespace {

// The modifier keys of a combination, as bits of a set.
enum ModifierBit : unsigned {
  kShiftBit = 1,
  kCtrlBit = 2,
  kAltBit = 4,
};

// Every column of either scheme has a name prefix.
static_assert(ExtendedKeyRow::kColumnCount == CountOf(kModifierPrefixes));
static_assert(ClassicKeyRow::kColumnCount < CountOf(kModifierPrefixes));

// The column of a modifier set that has none in the active scheme.
constexpr size_t kNoColumn = SIZE_MAX;

// Calls operation with the key table and the alias table of the scheme that
// extendedKeys selects. Every operation on the tables goes through here.
template <typename Operation>
auto WithActiveScheme(Operation operation) {
  if (extendedKeys != 0) return operation(kExtendedKeyTable, kExtendedAliasTable);
  return operation(kClassicKeyTable, kClassicAliasTable);
}

// The modifier a word before the key name stands for, ignoring case, or 0
// when the word names none.
unsigned ModifierOfWord(const char16_t* word) {
  static constexpr struct {
    const char16_t* word;
    unsigned modifier;
  } kModifierWords[] = {
      {u"s", kShiftBit},   {u"shift", kShiftBit},  {u"c", kCtrlBit}, {u"ctl", kCtrlBit},
      {u"ctrl", kCtrlBit}, {u"control", kCtrlBit}, {u"a", kAltBit},  {u"alt", kAltBit},
  };
  for (const auto& entry : kModifierWords) {
    if (TextEqualsIgnoreCase(word, entry.word)) return entry.modifier;
  }
  return 0;
}

// The column of a modifier set: Alt with Shift has none, and Ctrl, Alt and
// Shift together only under the extended key scheme.
size_t ColumnOfModifiers(unsigned modifiers) {
  switch (modifiers) {
    case 0:
      return kPlainColumn;
    case kShiftBit:
      return kShiftColumn;
    case kCtrlBit:
      return kCtrlColumn;
    case kAltBit:
      return kAltColumn;
    case kCtrlBit | kShiftBit:
      return kCtrlShiftColumn;
    case kCtrlBit | kAltBit:
      return kCtrlAltColumn;
    case kCtrlBit | kAltBit | kShiftBit:
      return extendedKeys != 0 ? kCtrlAltShiftColumn : kNoColumn;
    default:
      return kNoColumn;
  }
}

// True when the "-" at dash is the last character of the text and follows a
// component that is "Num", ignoring case (see ParseKeyName).
bool CompletesNumMinus(const char16_t* component, size_t length, const char16_t* dash) {
  return dash[1] == u'\0' && length == 3 && TextEqualsIgnoreCase(component, u"Num");
}

// The code of keyName in the given column: aliases are replaced first, in
// table order, each replacement compared again with the later aliases; then
// the last key row of that name decides. 0 when no row has the name.
template <typename Row, size_t RowCount, size_t AliasCount>
int32_t CodeOfKey(const Row (&keys)[RowCount], const KeyAlias (&aliases)[AliasCount],
                  const char16_t* keyName, size_t column) {
  if (column >= Row::kColumnCount) return kNotAKeyName;
  for (const KeyAlias& alias : aliases) {
    if (TextEqualsIgnoreCase(keyName, alias.alias)) keyName = alias.keyName;
  }
  int32_t code = kNotAKeyName;
  for (const Row& row : keys) {
    if (TextEqualsIgnoreCase(keyName, row.name)) code = row.codes[column];
  }
  return code;
}

}  // namespace

// The text is split on "-" into components: modifier words, then the key
// name. A "-" ends a component only when it holds a character, so "-" and
// "Alt--" name the key "-". A "-" that ends the text right after a component
// "Num" (any case) completes the classic key Num-, as ListKeyNames prints it.
// A component longer than any name ends the parse with 0.
int32_t ParseKeyName(const char16_t* text) {
  if (text == nullptr) return kNotAKeyName;
  char16_t component[kMaxNameLen];
  size_t length = 0;
  unsigned modifiers = 0;
  for (const char16_t* next = text; *next != u'\0'; ++next) {
    component[length] = u'\0';
    if (*next == u'-' && length > 0 && !CompletesNumMinus(component, length, next)) {
      const unsigned modifier = ModifierOfWord(component);
      if (modifier == 0) return kNotAKeyName;
      modifiers |= modifier;
      length = 0;
    } else if (length < CountOf(component) - 1) {
      component[length++] = *next;
    } else {
      return kNotAKeyName;
    }
  }
  if (length == 0) return kNotAKeyName;
  component[length] = u'\0';
  const size_t column = ColumnOfModifiers(modifiers);
  if (column == kNoColumn) return kNotAKeyName;
  return WithActiveScheme([&](const auto& keys, const auto& aliases) {
    return CodeOfKey(keys, aliases, component, column);
  });
}

// No hotkey is "None" under either scheme. Where a code occurs in more than
// one cell, the last cell in row order gives the name. Only positive codes are
// looked up: -1 and -2 are no hotkey, and naming them would name some
// unrelated combination that has no code.
int32_t FormatKeyName(char16_t (&name)[kMaxNameLen]) {
  if (currentHotkey == 0) {
    TextCopy(name, u"None");
    return 0;
  }
  return WithActiveScheme([&name](const auto& keys, const auto&) {
    const char16_t* keyName = nullptr;
    size_t column = 0;
    for (const auto& row : keys) {
      for (size_t c = 0; c < CountOf(row.codes); ++c) {
        if (currentHotkey > 0 && row.codes[c] == currentHotkey) {
          keyName = row.name;
          column = c;
        }
      }
    }
    if (keyName == nullptr) {
      TextCopy(name, u"(unknown)");
      return int32_t{-1};
    }
    TextCopy(name, kModifierPrefixes[column]);
    TextAppend(name, keyName);
    return int32_t{0};
  });
}

// One line per key row, in table order, naming the row's combinations with a
// positive code in column order, separated by " · ".
void ListKeyNames() {
  WithActiveScheme([](const auto& keys, const auto&) {
    for (const auto& row : keys) {
      char16_t line[kMaxNameLen];
      line[0] = u'\0';
      for (size_t c = 0; c < CountOf(row.codes); ++c) {
        if (row.codes[c] <= 0) continue;
        if (line[0] != u'\0') TextAppend(line, u" \u00B7 ");
        TextAppend(line, kModifierPrefixes[c]);
        TextAppend(line, row.name);
      }
      QPuts(line);
      QPuts(u"\r\n");
    }
  });
}

bool IsAcceptableHotkey(int32_t code) {
  if (code <= 0) return false;
  return WithActiveScheme([code](const auto& keys, const auto&) {
    for (const auto& row : keys) {
      for (const int32_t cell : row.codes) {
        if (cell == code) return true;
      }
    }
    return false;
  });
}
