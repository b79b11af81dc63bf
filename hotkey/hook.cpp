// The keystroke hook: on the hotkey, the word at the cursor is converted in
// place between a file name and a file:// URI.
#include "base/charclass.h"
#include "convert/convert.h"
#include "hotkey/hook.h"
#include "hotkey/keynames.h"
#include "hotkey/settings.h"
#include "platform/platform.h"
#include "base/host.h"
#include "base/text.h"

namespace {

constexpr int32_t kCtrlShiftBits = 0x20000;
constexpr int32_t kCtrlAltBits = 0x40000;
constexpr int32_t kCtrlAltShiftBits = 0x60000;

bool KeyDown(int virtualKey) {
  return (static_cast<uint16_t>(platform::GetAsyncKeyState(virtualKey)) & 0x8000u) != 0;
}

// Swallows the key so the host does not act on it.
void SwallowKey(KeystrokeRecord* record) {
  record->keyCode = 0;
  if (extendedKeys != 0 && record->keyLabel != nullptr) record->keyLabel[0] = u'\0';
}

// Nothing to convert: the key is swallowed with the asterisk sound and the
// line, cursor and redraw flag stay as they were.
int32_t GiveUp(KeystrokeRecord* record) {
  SwallowKey(record);
  platform::PlaySoundW(reinterpret_cast<const char16_t*>(platform::SND_ALIAS_SYSTEMASTERISK),
                       nullptr, platform::SND_ALIAS_ID | platform::SND_ASYNC);
  return 0;
}

// The cursor's offset in the line, from the addresses alone, so that a cursor
// the host placed outside the line is compared without forming a pointer
// that does not point into it. A cursor before the line gives -1.
intptr_t CursorOffset(const KeystrokeRecord* record) {
  const auto line = reinterpret_cast<uintptr_t>(record->line);
  const auto cursor = reinterpret_cast<uintptr_t>(record->cursor);
  if (cursor < line) return -1;
  const uintptr_t offset = (cursor - line) / sizeof(char16_t);
  return offset > MAX_LINE_LEN ? static_cast<intptr_t>(MAX_LINE_LEN)
                               : static_cast<intptr_t>(offset);
}

// Collapses each "%%" to "%", left to right; the kept "%" is not paired again.
void CollapsePercentPairs(char16_t* text) {
  size_t write = 0;
  for (size_t read = 0; text[read] != u'\0'; ++read) {
    if (text[read] == u'%' && text[read + 1] == u'%') ++read;
    text[write++] = text[read];
  }
  text[write] = u'\0';
}

void RemoveQuotes(char16_t* text) {
  size_t write = 0;
  for (size_t read = 0; text[read] != u'\0'; ++read) {
    if (text[read] != u'"') text[write++] = text[read];
  }
  text[write] = u'\0';
}

}  // namespace

// Finds the white-space-delimited word at the cursor (double quotes keep
// white space inside a word), converts it and splices the result into the
// line. A word that cannot be converted, or whose result would not fit the
// word or line buffers, leaves the line alone.
int32_t ConvertWordAtCursor(KeystrokeRecord* record) {
  char16_t word[MAX_ARG_LEN];
  char16_t rebuilt[MAX_LINE_LEN];
  TextClear(word, CountOf(word));
  TextClear(rebuilt, CountOf(rebuilt));
  const char16_t* line = record->line;
  if (line == nullptr || line[0] == u'\0') return GiveUp(record);
  const intptr_t cursor = CursorOffset(record);

  bool quoted = false;
  bool open = false;
  bool selected = false;
  size_t start = 0;
  size_t wordStart = 0;
  size_t wordEnd = 0;
  size_t length = 0;
  for (; length < MAX_LINE_LEN && line[length] != u'\0'; ++length) {
    const char16_t c = line[length];
    if (c == u'"') quoted = !quoted;
    if (!open) {
      if (!IsWhiteSpace(c)) {
        open = true;
        start = length;
      }
    } else if (!quoted && IsWhiteSpace(c)) {
      if (static_cast<intptr_t>(start) <= cursor && static_cast<intptr_t>(length) >= cursor) {
        selected = true;
        wordStart = start;
        wordEnd = length;
      }
      open = false;
    }
  }
  if (length >= MAX_LINE_LEN) return GiveUp(record);  // no terminator within the host's line
  if (open && static_cast<intptr_t>(start) <= cursor) {
    selected = true;
    wordStart = start;
    wordEnd = length;
  }
  if (!selected || wordEnd - wordStart > MAX_ARG_LEN - 1) return GiveUp(record);

  for (size_t i = wordStart; i < wordEnd; ++i) word[i - wordStart] = line[i];
  word[wordEnd - wordStart] = u'\0';
  RemoveQuotes(word);

  if (TextStartsWithIgnoreCase(word, u"file://")) {
    CollapsePercentPairs(word);
    platform::DWORD pathLength = MAX_ARG_LEN;
    rebuilt[0] = u'\0';
    platform::PathCreateFromUrlW(word, rebuilt, &pathLength, 0);
    rebuilt[MAX_ARG_LEN - 1] = u'\0';
    if (rebuilt[0] == u'\0') return GiveUp(record);
    const bool quote = CountQuoteTriggers(rebuilt) != 0;
    if (quote && TextLength(rebuilt) + 2 > MAX_ARG_LEN - 1) return GiveUp(record);
    word[0] = u'\0';
    if (quote) TextAppend(word, u"\"");
    TextAppend(word, rebuilt);
    if (quote) TextAppend(word, u"\"");
  } else if (FileToUri(word, 0) != 0) {
    return GiveUp(record);
  }

  const size_t wordLength = TextLength(word);
  const size_t restLength = length - wordEnd;
  if (wordStart + wordLength + restLength > MAX_LINE_LEN - 1) return GiveUp(record);
  for (size_t i = 0; i < wordStart; ++i) rebuilt[i] = line[i];
  for (size_t i = 0; i < wordLength; ++i) rebuilt[wordStart + i] = word[i];
  const size_t newCursor = wordStart + wordLength;
  for (size_t i = 0; i < restLength; ++i) rebuilt[newCursor + i] = line[wordEnd + i];
  const size_t rebuiltLength = newCursor + restLength;
  rebuilt[rebuiltLength] = u'\0';

  ClearEditLine(record->line);
  // Its length is known and checked against the line's room above, so the
  // rebuilt text goes back as one block, terminator included.
  for (size_t i = 0; i <= rebuiltLength; ++i) record->line[i] = rebuilt[i];
  record->cursor = record->line + newCursor;
  record->redraw = 1;
  SwallowKey(record);
  return 0;
}

// Completes the host's key code with the live Ctrl-Shift, Ctrl-Alt or
// Ctrl-Alt-Shift state and, on the hotkey, converts the word at the cursor.
// Any other key passes through untouched.
PLUGIN_EXPORT int key(KeystrokeRecord* record) {
  if (record == nullptr) return 0;
  int32_t code = record->keyCode;
  if (extendedKeys != 0 && code == 0 && record->keyLabel != nullptr) {
    code = ParseKeyName(record->keyLabel);
  }
  const bool shift = KeyDown(platform::VK_SHIFT);
  const bool ctrl = KeyDown(platform::VK_CONTROL);
  const bool alt = KeyDown(platform::VK_MENU);
  if (shift && ctrl && !alt) {
    code |= kCtrlShiftBits;
  } else if (ctrl && alt && !shift) {
    code |= kCtrlAltBits;
  } else if (extendedKeys != 0 && shift && ctrl && alt) {
    code |= kCtrlAltShiftBits;
  }
  if (code != 0 && code == currentHotkey) ConvertWordAtCursor(record);
  return 0;
}
