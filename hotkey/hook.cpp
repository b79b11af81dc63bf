// The keystroke hook: on the hotkey, the word at the cursor is converted in
// place between a file name and a file:// URI.
#include "hotkey/hook.h"

#include "base/char_class.h"
#include "base/text.h"
#include "convert/convert.h"
#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/settings.h"
#include "platform/platform.h"

namespace {

constexpr int32_t kCtrlShiftBits = 0x20000;
constexpr int32_t kCtrlAltBits = 0x40000;
constexpr int32_t kCtrlAltShiftBits = 0x60000;

// Where the word at the cursor lies in the line: from start up to, not
// including, end; lineLength is the line's length.
struct WordSpan {
  size_t start = 0;
  size_t end = 0;
  size_t lineLength = 0;
};

bool KeyDown(int virtualKey) {
  return (static_cast<uint16_t>(platform::GetAsyncKeyState(virtualKey)) & 0x8000u) != 0;
}

// The host's code for the key, completed with the bits of the live Ctrl-Shift,
// Ctrl-Alt or Ctrl-Alt-Shift state. A key that newer hosts name only by its
// label gets the code of that name.
int32_t KeyCodeOf(const KeystrokeRecord* record) {
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
  return code;
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
  return offset > kMaxLineLen ? static_cast<intptr_t>(kMaxLineLen) : static_cast<intptr_t>(offset);
}

// Finds the white-space-delimited word that the cursor stands on or directly
// after; double quotes keep white space inside a word. False when there is
// none, or when the line has no terminator within the host's 65,536
// characters.
bool FindWordAtCursor(const KeystrokeRecord* record, WordSpan& word) {
  const char16_t* line = record->line;
  if (line == nullptr) return false;
  const intptr_t cursor = CursorOffset(record);
  const auto covers = [cursor](size_t start, size_t end) {
    return static_cast<intptr_t>(start) <= cursor && static_cast<intptr_t>(end) >= cursor;
  };
  bool quoted = false;
  bool open = false;
  bool found = false;
  size_t start = 0;
  size_t length = 0;
  for (; length < kMaxLineLen && line[length] != u'\0'; ++length) {
    const char16_t c = line[length];
    if (c == u'"') quoted = !quoted;
    if (!open) {
      if (!IsWhiteSpace(c)) {
        open = true;
        start = length;
      }
    } else if (!quoted && IsWhiteSpace(c)) {
      if (covers(start, length)) {
        found = true;
        word.start = start;
        word.end = length;
      }
      open = false;
    }
  }
  if (length >= kMaxLineLen) return false;
  // The last word counts whenever it starts at or before the cursor, also
  // when the host placed the cursor past the end of the line.
  if (open && static_cast<intptr_t>(start) <= cursor) {
    found = true;
    word.start = start;
    word.end = length;
  }
  word.lineLength = length;
  return found;
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

// Converts the word, given without its double quotes, in place: a file://
// URI into the file name, anything else into the URI of its canonical name.
// The shell expands the line when it runs, so whatever the hotkey writes there
// holds each "%" doubled: a "%%" of the word is read as one "%" first, and
// each "%" of the result, a URI's or a name's, goes in doubled. Pressing the
// hotkey twice therefore gives back the word (a single "%" typed in a name
// comes back doubled). False when the word does not convert, or when the
// doubled name would not fit the word buffer.
bool ConvertWord(char16_t (&word)[MAX_ARG_LEN]) {
  CollapsePercentPairs(word);
  if (!TextStartsWithIgnoreCase(word, u"file://")) return FileToUri(word, 0) == 0;
  platform::HRESULT windowsResult = platform::S_OK;
  return UriToFile(word, &windowsResult) == UriToFileResult::kConverted;
}

// Puts text into the line in place of the word and leaves the cursor right
// after it. False, and the line untouched, when the result would not fit the
// host's 65,536 characters.
bool SpliceIntoLine(KeystrokeRecord* record, const WordSpan& word, const char16_t* text) {
  const size_t textLength = TextLength(text);
  const size_t restLength = word.lineLength - word.end;
  const size_t newCursor = word.start + textLength;
  if (newCursor + restLength > kMaxLineLen - 1) return false;
  char16_t rebuilt[kMaxLineLen];
  const char16_t* line = record->line;
  for (size_t i = 0; i < word.start; ++i) rebuilt[i] = line[i];
  for (size_t i = 0; i < textLength; ++i) rebuilt[word.start + i] = text[i];
  for (size_t i = 0; i < restLength; ++i) rebuilt[newCursor + i] = line[word.end + i];
  const size_t rebuiltLength = newCursor + restLength;
  ClearEditLine(record->line);
  for (size_t i = 0; i < rebuiltLength; ++i) record->line[i] = rebuilt[i];
  record->line[rebuiltLength] = u'\0';
  record->cursor = record->line + newCursor;
  record->redraw = 1;
  return true;
}

}  // namespace

// A word that cannot be converted, or whose result would not fit the word or
// line buffers, leaves the line alone and sounds the asterisk.
int32_t ConvertWordAtCursor(KeystrokeRecord* record) {
  WordSpan span;
  if (!FindWordAtCursor(record, span) || span.end - span.start > MAX_ARG_LEN - 1) {
    return GiveUp(record);
  }
  char16_t word[MAX_ARG_LEN];
  TextClear(word, CountOf(word));
  size_t length = 0;
  for (size_t i = span.start; i < span.end; ++i) {
    if (record->line[i] != u'"') word[length++] = record->line[i];
  }
  if (!ConvertWord(word) || !SpliceIntoLine(record, span, word)) return GiveUp(record);
  SwallowKey(record);
  return 0;
}

// Any key but the hotkey passes through untouched.
int32_t HandleKeystroke(KeystrokeRecord* record) {
  if (record == nullptr) return 0;
  const int32_t code = KeyCodeOf(record);
  if (code != 0 && code == currentHotkey) ConvertWordAtCursor(record);
  return 0;
}
