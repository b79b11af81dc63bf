// The host's own key codes. A key that types a character, alone or with
// Shift, is reported as the character's code; any other combination as 0x10000
// plus a number of its own (mostly the key's PC scan code), as a control
// character for Ctrl with a letter, or not at all. Ctrl-Shift, Ctrl-Alt and
// Ctrl-Alt-Shift have the code of a simpler combination of the key: the
// plug-in tells them apart by the modifier keys held. Newer hosts (version 24
// on) report the keys whose codes are 0x800 to 0xfff, alone or plus 0x10000
// (the OEM punctuation block, and Enter with modifiers), only by label: the
// combination's name, with code 0.
#include "demo/host_keys.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "support/utf.h"

namespace demo {

namespace {

// The combinations in the order of the code rows' columns, and their prefixes
// in key names. Alt with Shift has no column.
constexpr unsigned kColumnModifiers[] = {
    0, kShift, kCtrl, kAlt, kCtrl | kShift, kCtrl | kAlt, kCtrl | kAlt | kShift};
const char16_t* const kColumnPrefixes[] = {
    u"", u"Shift-", u"Ctrl-", u"Alt-", u"Ctrl-Shift-", u"Ctrl-Alt-", u"Ctrl-Alt-Shift-"};

// In the rows below: reported as the character the key types. 0: no code.
constexpr int32_t kTyped = -1;
constexpr int32_t kOwnCode = 0x10000;
using CodeRow = int32_t[std::size(kColumnModifiers)];

// The cursor, editing and function keys: the same codes for both schemes
// (the classic one has no Ctrl-Alt-Shift).
struct EditingKeyRow {
  Key key;
  const char16_t* name;
  CodeRow codes;
};

// clang-format off
const EditingKeyRow kEditingKeys[] = {
    //                          none     Shift    Ctrl     Alt      C-Shift  C-Alt    C-Alt-Shift
    {Key::kF1,    u"F1",    {0x1003b, 0x10054, 0x1005e, 0x10068, 0x10054, 0x1005e, 0x1005e}},
    {Key::kF2,    u"F2",    {0x1003c, 0x10055, 0x1005f, 0x10069, 0x10055, 0x1005f, 0x1005f}},
    {Key::kF3,    u"F3",    {0x1003d, 0x10056, 0x10060, 0x1006a, 0x10056, 0x10060, 0x10060}},
    {Key::kF4,    u"F4",    {0x1003e, 0x10057, 0x10061, 0x1006b, 0x10057, 0x10061, 0x10061}},
    {Key::kF5,    u"F5",    {0x1003f, 0x10058, 0x10062, 0x1006c, 0x10058, 0x10062, 0x10062}},
    {Key::kF6,    u"F6",    {0x10040, 0x10059, 0x10063, 0x1006d, 0x10059, 0x10063, 0x10063}},
    {Key::kF7,    u"F7",    {0x10041, 0x1005a, 0x10064, 0x1006e, 0x1005a, 0x10064, 0x10064}},
    {Key::kF8,    u"F8",    {0x10042, 0x1005b, 0x10065, 0x1006f, 0x1005b, 0x10065, 0x10065}},
    {Key::kF9,    u"F9",    {0x10043, 0x1005c, 0x10066, 0x10070, 0x1005c, 0x10066, 0x10066}},
    {Key::kF10,   u"F10",   {0x10044, 0x1005d, 0x10067, 0x10071, 0x1005d, 0x10067, 0x10067}},
    {Key::kF11,   u"F11",   {0x10085, 0x10087, 0x10089, 0x1008b, 0x10087, 0x10089, 0x10089}},
    {Key::kF12,   u"F12",   {0x10086, 0x10088, 0x1008a, 0x1008c, 0x10088, 0x1008a, 0x1008a}},
    {Key::kHome,  u"Home",  {0x10047, 0x100ca, 0x10077,       0, 0x100ca, 0x10077, 0x10077}},
    {Key::kEnd,   u"End",   {0x1004f, 0x100cb, 0x10075,       0, 0x100cb, 0x10075, 0x10075}},
    {Key::kPgUp,  u"PgUp",  {0x10049,       0, 0x10084,       0, 0x10049, 0x10084, 0x10084}},
    {Key::kPgDn,  u"PgDn",  {0x10051,       0, 0x10076,       0, 0x10051, 0x10076, 0x10076}},
    {Key::kIns,   u"Ins",   {0x10052,       0,       0,       0, 0x10052, 0x10092, 0x10092}},
    {Key::kDel,   u"Del",   {0x10053,       0, 0x10093,       0, 0x10053,       0, 0x10093}},
    {Key::kUp,    u"Up",    {0x10048,       0, 0x1008d,       0, 0x10048, 0x1008d, 0x1008d}},
    {Key::kDown,  u"Down",  {0x10050,       0, 0x10091,       0, 0x10050, 0x10091, 0x10091}},
    {Key::kLeft,  u"Left",  {0x1004b, 0x100c8, 0x10073, 0x100f4, 0x100cc, 0x10073, 0x10073}},
    {Key::kRight, u"Right", {0x1004d, 0x100c9, 0x10074, 0x100f6, 0x100cd, 0x10074, 0x10074}},
};

// The keys that type a control character, and the punctuation keys, whose
// names and codes differ between the schemes; a row of kCharacter is found by
// the character typed unshifted. A null name: no key of that scheme.
struct SchemeKeyRow {
  Key key;
  char32_t character;
  const char16_t* classicName;
  const char16_t* extendedName;
  CodeRow classic;
  CodeRow extended;
};

const SchemeKeyRow kSchemeKeys[] = {
    //                                              none    Shift   Ctrl  Alt      C-Shift  C-Alt    C-Alt-Shift
    {Key::kTab, 0, nullptr, nullptr,             {  0x09,      0,     0,      0,       0,       0,       0},
                                                 {  0x09,      0,     0,      0,       0,       0,       0}},
    {Key::kEscape, 0, nullptr, nullptr,          {  0x1b,      0,     0,      0,       0,       0,       0},
                                                 {  0x1b,      0,     0,      0,       0,       0,       0}},
    {Key::kBackspace, 0, u"BkSp", u"Backspace",  {  0x08,      0, 0x7f, 0x1000e, 0x1000e, 0x1000e,       0},
                                                 {  0x08,  0x87f, 0x7f, 0x1000e, 0x1000e, 0x1000e, 0x1000e}},
    {Key::kEnter, 0, nullptr, u"Enter",          {  0x0d,      0,     0,      0,       0,       0,       0},
                                                 {  0x0d,  0x80d, 0xc0d,      0,   0x80d, 0x1080d, 0x1080d}},
    {Key::kCharacter, U'`', u"Grave", u"`",      {kTyped, kTyped,     0, 0x10029, 0x10029, 0x10029,       0},
                                                 {kTyped, kTyped, 0x860, 0x10860,   0x860, 0x10860, 0x10860}},
    {Key::kCharacter, U'-', u"-", u"Minus",      {kTyped, kTyped,     0, 0x10082,       0,       0,       0},
                                                 {kTyped, kTyped, 0x8bd, 0x108bd,   0x8bd, 0x108bd, 0x108bd}},
    {Key::kCharacter, U'=', u"=", u"Plus",       {kTyped, kTyped,     0, 0x10083,       0,       0,       0},
                                                 {kTyped, kTyped, 0x8bb, 0x10083,   0x8bb, 0x108bb, 0x108bb}},
    {Key::kCharacter, U'[', u"[", u"[",          {kTyped, kTyped,     0, 0x1001a,       0, 0x1001a,       0},
                                                 {kTyped, kTyped, 0x8db, 0x1001a,   0x8db, 0x1001a, 0x1001a}},
    {Key::kCharacter, U']', u"]", u"]",          {kTyped, kTyped,     0, 0x1001b,       0, 0x1001b,       0},
                                                 {kTyped, kTyped, 0x8dd, 0x1001b,   0x8dd, 0x1001b, 0x1001b}},
    {Key::kCharacter, U'\\', u"\\", u"\\",       {kTyped, kTyped,  0x1c, 0x1002b,       0, 0x1002b,       0},
                                                 {kTyped, kTyped, 0x8dc, 0x1002b,   0x8dc, 0x1002b, 0x1002b}},
    {Key::kCharacter, U';', u";", u";",          {kTyped, kTyped,     0, 0x10027,       0, 0x10027,       0},
                                                 {kTyped, kTyped, 0x827, 0x10027,    0x27, 0x10027, 0x10027}},
    {Key::kCharacter, U'\'', u"'", u"'",         {kTyped, kTyped,     0, 0x10028,       0, 0x10028,       0},
                                                 {kTyped, kTyped, 0x828, 0x10028,    0x28, 0x10028, 0x10028}},
    {Key::kCharacter, U',', u",", u",",          {kTyped, kTyped,     0, 0x10033,       0, 0x10033,       0},
                                                 {kTyped, kTyped, 0x833, 0x10033,    0x33, 0x10033, 0x10033}},
    {Key::kCharacter, U'.', u".", u"Decimal",    {kTyped, kTyped,     0, 0x10034,       0, 0x10034,       0},
                                                 {kTyped, kTyped, 0x834, 0x10034,    0x34, 0x10034, 0x10034}},
    {Key::kCharacter, U'/', u"/", u"Divide",     {kTyped, kTyped,     0, 0x10035,       0, 0x10035,       0},
                                                 {kTyped, kTyped, 0x835, 0x10035,    0x35, 0x10035, 0x10035}},
};
// clang-format on

// The letter and digit keys, row by row of the keyboard, with the number of
// each row's first key: the letters' scan codes, and 0xe2 to 0xeb for the
// digits from 1 to 0.
constexpr std::pair<std::u16string_view, int32_t> kKeyRows[] = {
    {u"1234567890", 0xe2}, {u"QWERTYUIOP", 0x10}, {u"ASDFGHJKL", 0x1e}, {u"ZXCVBNM", 0x2c}};

// The column of a combination in the code rows; none for Alt with Shift, nor
// for Ctrl-Alt-Shift under the classic scheme.
int ColumnOf(unsigned modifiers, KeyScheme scheme) {
  const auto* end = std::end(kColumnModifiers) - (scheme == KeyScheme::kClassic ? 1 : 0);
  const auto* found =
      std::find(std::begin(kColumnModifiers), end, modifiers & (kShift | kCtrl | kAlt));
  return found == end ? -1 : static_cast<int>(found - std::begin(kColumnModifiers));
}

// A letter or digit key with Ctrl or Alt. Alt and Ctrl-Alt give 0x10000 plus
// the key's number; Ctrl a letter's control character (none for Ctrl-C and
// Ctrl-S, the console's break and pause, nor on classic hosts for Ctrl-M,
// Enter's twin), and on newer hosts only a digit's number.
int32_t LetterOrDigitCode(char16_t key, int32_t number, unsigned modifiers, KeyScheme scheme) {
  const bool classic = scheme == KeyScheme::kClassic;
  if (key >= u'0' && key <= u'9') {
    if (classic && modifiers != kAlt) return 0;
    return (modifiers & kAlt) != 0 ? kOwnCode | number : number;
  }
  const int32_t control = key == u'C' || key == u'S' ? 0 : key - u'A' + 1;
  if (modifiers == kCtrl) return key == u'M' && classic ? 0 : control;
  if (modifiers == (kCtrl | kShift)) return key == u'I' ? 0 : control;
  if (modifiers == (kCtrl | kAlt | kShift) && key == u'B') return kOwnCode | 0x3e;
  return kOwnCode | number;
}

// A key's name and its code in a column (kTyped included; 0: none). Other
// characters are typed alone or with Shift, and have no name.
struct KeyEntry {
  std::u16string name;
  int32_t code = 0;
};

KeyEntry EntryOf(const KeyPress& press, int column, KeyScheme scheme) {
  const bool extended = scheme == KeyScheme::kExtended;
  for (const auto& row : kEditingKeys) {
    if (row.key == press.key) return {row.name, row.codes[column]};
  }
  for (const auto& row : kSchemeKeys) {
    if (row.key == press.key && (row.key != Key::kCharacter || row.character == press.character)) {
      const char16_t* name = extended ? row.extendedName : row.classicName;
      return {name != nullptr ? name : u"", (extended ? row.extended : row.classic)[column]};
    }
  }
  const char32_t c = press.character;
  if (press.key != Key::kCharacter || c > 0xffff) return {};
  const unsigned modifiers = kColumnModifiers[column];
  const bool typed = (modifiers & (kCtrl | kAlt)) == 0;
  const auto key = static_cast<char16_t>(c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c);
  for (const auto& [keys, first] : kKeyRows) {
    const size_t at = keys.find(key);
    if (at == std::u16string_view::npos) continue;
    const int32_t number = first + static_cast<int32_t>(at);
    return {{key}, typed ? kTyped : LetterOrDigitCode(key, number, modifiers, scheme)};
  }
  return {u"", typed ? kTyped : 0};
}

}  // namespace

// Hosts of major version 24 to 100 use the extended scheme.
KeyScheme KeySchemeOfHostVersion(std::u16string_view version) {
  const unsigned long major = std::strtoul(support::ToUtf8(version).c_str(), nullptr, 10);
  return major >= 24 && major <= 100 ? KeyScheme::kExtended : KeyScheme::kClassic;
}

HostKey HostKeyOf(const KeyPress& press, KeyScheme scheme) {
  const int column = ColumnOf(press.modifiers, scheme);
  if (press.key == Key::kNone || column < 0) return {};
  const KeyEntry entry = EntryOf(press, column, scheme);
  if (entry.code == kTyped) return {static_cast<int32_t>(press.character), {}};
  const int32_t low = entry.code & 0xffff;
  if (scheme == KeyScheme::kExtended && entry.code > 0 && low >= 0x800 && low <= 0xfff) {
    return {0, kColumnPrefixes[column] + entry.name};
  }
  return {entry.code, {}};
}

// None for Alt with Shift, Ctrl-Alt-Shift under the classic scheme, keys such
// as Tab, and characters without a key of their own.
std::u16string CombinationName(const KeyPress& press, KeyScheme scheme) {
  const int column = ColumnOf(press.modifiers, scheme);
  const std::u16string name = column < 0 ? u"" : EntryOf(press, column, scheme).name;
  return name.empty() ? name : kColumnPrefixes[column] + name;
}

}  // namespace demo
