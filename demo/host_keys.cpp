// The host's own key codes. A key that types a character, pressed alone or
// with Shift, is reported as the character's code. Every other combination has
// a code of 0x10000 plus a number of its own (mostly the PC keyboard's scan
// code of the key), a control character for Ctrl with a letter, or none. Ctrl
// with Shift, Ctrl with Alt and all three are reported with the code of a
// simpler combination of the key, and the plug-in tells them apart by the
// modifier keys held.
//
// Newer hosts (version 24 on) give the keys of the OEM punctuation block and
// Enter with modifiers codes of 0x800 to 0xfff (alone or plus 0x10000); those
// keys they report only by label, the combination's name, with code 0.
#include "demo/host_keys.h"

#include <cstdlib>
#include <iterator>

#include "support/utf.h"

namespace demo {

namespace {

// The column of a combination in the code rows below.
enum Column : int {
  kNoColumn = -1,
  kPlainColumn,
  kShiftColumn,
  kCtrlColumn,
  kAltColumn,
  kCtrlShiftColumn,
  kCtrlAltColumn,
  kCtrlAltShiftColumn,
  kColumnCount,
};

const char16_t* const kColumnPrefixes[kColumnCount] = {
    u"", u"Shift-", u"Ctrl-", u"Alt-", u"Ctrl-Shift-", u"Ctrl-Alt-", u"Ctrl-Alt-Shift-",
};

// In the rows below: reported as the character the key types. 0: no code.
constexpr int32_t kTyped = -1;

using CodeRow = int32_t[kColumnCount];

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

// Backspace, Enter and the punctuation keys, whose names and codes differ
// between the schemes. A row is found by its key, or for kCharacter by the
// character the key types unshifted. A null name: no key of that scheme.
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
    {Key::kBackspace, 0, u"BkSp", u"Backspace",  {kTyped,      0, 0x7f, 0x1000e, 0x1000e, 0x1000e,       0},
                                                 {kTyped,  0x87f, 0x7f, 0x1000e, 0x1000e, 0x1000e, 0x1000e}},
    {Key::kEnter, 0, nullptr, u"Enter",          {kTyped,      0,     0,      0,       0,       0,       0},
                                                 {kTyped,  0x80d, 0xc0d,      0,   0x80d, 0x1080d, 0x1080d}},
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

// The letters' scan codes, row by row of the keyboard.
struct ScanCodeRow {
  std::u16string_view letters;
  int32_t first;
};
const ScanCodeRow kLetterScanCodes[] = {
    {u"QWERTYUIOP", 0x10}, {u"ASDFGHJKL", 0x1e}, {u"ZXCVBNM", 0x2c}};

// Digits, in keyboard order from 1 to 0, are 0xe2 to 0xeb.
constexpr std::u16string_view kDigitOrder = u"1234567890";
constexpr int32_t kFirstDigitCode = 0xe2;

constexpr int32_t kOwnCode = 0x10000;

int ColumnOf(unsigned modifiers, KeyScheme scheme) {
  switch (modifiers & (kShift | kCtrl | kAlt)) {
    case 0:
      return kPlainColumn;
    case kShift:
      return kShiftColumn;
    case kCtrl:
      return kCtrlColumn;
    case kAlt:
      return kAltColumn;
    case kCtrl | kShift:
      return kCtrlShiftColumn;
    case kCtrl | kAlt:
      return kCtrlAltColumn;
    case kCtrl | kAlt | kShift:
      return scheme == KeyScheme::kExtended ? kCtrlAltShiftColumn : kNoColumn;
    default:
      return kNoColumn;  // Alt with Shift
  }
}

char16_t UpperLetter(char32_t character) {
  if (character >= U'a' && character <= U'z') return static_cast<char16_t>(character - U'a' + U'A');
  if (character >= U'A' && character <= U'Z') return static_cast<char16_t>(character);
  return 0;
}

int32_t LetterScanCode(char16_t letter) {
  for (const auto& row : kLetterScanCodes) {
    const size_t at = row.letters.find(letter);
    if (at != std::u16string_view::npos) return row.first + static_cast<int32_t>(at);
  }
  return 0;
}

// A letter: Ctrl gives its control character (Ctrl-C and Ctrl-S have none, as
// they are the console's break and pause, nor has Ctrl-M, Enter's twin, on
// classic hosts); Alt and Ctrl-Alt its scan code.
int32_t LetterCode(char16_t letter, int column, KeyScheme scheme) {
  const int32_t control = letter - u'A' + 1;
  const int32_t scan = kOwnCode | LetterScanCode(letter);
  switch (column) {
    case kPlainColumn:
    case kShiftColumn:
      return kTyped;
    case kCtrlColumn:
      if (letter == u'C' || letter == u'S') return 0;
      if (letter == u'M' && scheme == KeyScheme::kClassic) return 0;
      return control;
    case kCtrlShiftColumn:
      return letter == u'C' || letter == u'I' || letter == u'S' ? 0 : control;
    case kCtrlAltShiftColumn:
      return letter == u'B' ? kOwnCode | 0x3e : scan;
    default:
      return scan;  // Alt, Ctrl-Alt
  }
}

// A digit: Alt gives 0x100e2 and up; Ctrl only on newer hosts, 0xe2 and up.
int32_t DigitCode(size_t index, int column, KeyScheme scheme) {
  const int32_t code = kFirstDigitCode + static_cast<int32_t>(index);
  switch (column) {
    case kPlainColumn:
    case kShiftColumn:
      return kTyped;
    case kAltColumn:
      return kOwnCode | code;
    case kCtrlColumn:
    case kCtrlShiftColumn:
      return scheme == KeyScheme::kExtended ? code : 0;
    default:
      return scheme == KeyScheme::kExtended ? kOwnCode | code : 0;  // Ctrl-Alt(-Shift)
  }
}

const EditingKeyRow* FindEditingKey(Key key) {
  for (const auto& row : kEditingKeys) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

const SchemeKeyRow* FindSchemeKey(const KeyPress& press) {
  for (const auto& row : kSchemeKeys) {
    if (row.key == press.key && (row.key != Key::kCharacter || row.character == press.character)) {
      return &row;
    }
  }
  return nullptr;
}

size_t DigitIndex(const KeyPress& press) {
  if (press.key != Key::kCharacter || press.character > 0xffff) return std::u16string_view::npos;
  return kDigitOrder.find(static_cast<char16_t>(press.character));
}

// The code a key press would type: Enter, Tab, Backspace and Escape type
// their control characters; a character outside the 16-bit range has no code.
int32_t TypedCode(const KeyPress& press) {
  switch (press.key) {
    case Key::kCharacter:
      return press.character <= 0xffff ? static_cast<int32_t>(press.character) : 0;
    case Key::kEnter:
      return 0x0d;
    case Key::kTab:
      return 0x09;
    case Key::kBackspace:
      return 0x08;
    case Key::kEscape:
      return 0x1b;
    default:
      return 0;
  }
}

// The code in the given column, kTyped included; 0 when there is none.
int32_t TableCode(const KeyPress& press, int column, KeyScheme scheme) {
  if (const EditingKeyRow* row = FindEditingKey(press.key)) {
    return column == kCtrlAltShiftColumn && scheme == KeyScheme::kClassic ? 0 : row->codes[column];
  }
  if (const SchemeKeyRow* row = FindSchemeKey(press)) {
    return (scheme == KeyScheme::kExtended ? row->extended : row->classic)[column];
  }
  if (press.key == Key::kCharacter) {
    if (const char16_t letter = UpperLetter(press.character))
      return LetterCode(letter, column, scheme);
    if (const size_t digit = DigitIndex(press); digit != std::u16string_view::npos) {
      return DigitCode(digit, column, scheme);
    }
  }
  // The other characters are typed alone or with Shift; Tab and Escape alone.
  if (column == kPlainColumn) return kTyped;
  return column == kShiftColumn && press.key == Key::kCharacter ? kTyped : 0;
}

std::u16string KeyName(const KeyPress& press, KeyScheme scheme) {
  if (const EditingKeyRow* row = FindEditingKey(press.key)) return row->name;
  if (const SchemeKeyRow* row = FindSchemeKey(press)) {
    const char16_t* name = scheme == KeyScheme::kExtended ? row->extendedName : row->classicName;
    return name != nullptr ? name : u"";
  }
  if (press.key != Key::kCharacter) return u"";
  if (const char16_t letter = UpperLetter(press.character)) return std::u16string(1, letter);
  if (DigitIndex(press) != std::u16string_view::npos) {
    return std::u16string(1, static_cast<char16_t>(press.character));
  }
  return u"";
}

// Newer hosts give codes of 0x800 to 0xfff, alone or plus 0x10000, only by label.
bool LabelOnly(int32_t code) {
  const int32_t low = code & 0xffff;
  return code > 0 && low >= 0x800 && low <= 0xfff;
}

}  // namespace

KeyScheme KeySchemeOfHostVersion(std::u16string_view version) {
  const std::string text = support::ToUtf8(version);
  const unsigned long major = std::strtoul(text.c_str(), nullptr, 10);
  return major >= 24 && major <= 100 ? KeyScheme::kExtended : KeyScheme::kClassic;
}

HostKey HostKeyOf(const KeyPress& press, KeyScheme scheme) {
  const int column = ColumnOf(press.modifiers, scheme);
  if (press.key == Key::kNone || column == kNoColumn) return {};
  const int32_t code = TableCode(press, column, scheme);
  if (code == kTyped) return {TypedCode(press), {}};
  if (scheme == KeyScheme::kExtended && LabelOnly(code)) return {0, CombinationName(press, scheme)};
  return {code, {}};
}

std::u16string CombinationName(const KeyPress& press, KeyScheme scheme) {
  const int column = ColumnOf(press.modifiers, scheme);
  if (column == kNoColumn) return u"";
  const std::u16string name = KeyName(press, scheme);
  return name.empty() ? name : kColumnPrefixes[column] + name;
}

}  // namespace demo
