// Character widths and cursor positions of wrapped text on a terminal.
#include "demo/screen_layout.h"

#include <algorithm>
#include <limits>

namespace demo {

namespace {

struct CodeRange {
  char32_t first;
  char32_t last;
};

// Combining marks and invisible format characters, drawn in no column of
// their own.
constexpr CodeRange kZeroWidth[] = {
    {0x0300, 0x036f}, {0x0483, 0x0489}, {0x0591, 0x05bd}, {0x0610, 0x061a}, {0x064b, 0x065f},
    {0x0e31, 0x0e31}, {0x0e34, 0x0e3a}, {0x200b, 0x200f}, {0x2028, 0x202e}, {0x2060, 0x2064},
    {0x20d0, 0x20ff}, {0xfe00, 0xfe0f}, {0xfe20, 0xfe2f}, {0xfeff, 0xfeff},
};

// Wide and full-width characters: Hangul Jamo, CJK, Hangul syllables,
// full-width forms, emoji pictographs and the supplementary ideographs.
constexpr CodeRange kDoubleWidth[] = {
    {0x1100, 0x115f},   {0x2e80, 0x303e},   {0x3041, 0x33ff},   {0x3400, 0x4dbf},
    {0x4e00, 0x9fff},   {0xa000, 0xa4cf},   {0xac00, 0xd7a3},   {0xf900, 0xfaff},
    {0xfe30, 0xfe4f},   {0xff00, 0xff60},   {0xffe0, 0xffe6},   {0x1f300, 0x1f64f},
    {0x1f900, 0x1f9ff}, {0x20000, 0x2fffd}, {0x30000, 0x3fffd},
};

template <size_t N>
bool InRanges(const CodeRange (&ranges)[N], char32_t character) {
  return std::any_of(std::begin(ranges), std::end(ranges), [character](const CodeRange& range) {
    return character >= range.first && character <= range.last;
  });
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xd800 && unit <= 0xdbff;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xdc00 && unit <= 0xdfff;
}

// The character at text[index] and the number of code units it takes; an
// unpaired surrogate stands for U+FFFD, as the terminal shows it.
char32_t CharacterAt(std::u16string_view text, size_t index, size_t& units) {
  const char16_t unit = text[index];
  units = 1;
  if (IsHighSurrogate(unit) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xd800) << 10) + (text[index + 1] - 0xdc00);
  }
  if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) return 0xfffd;
  return unit;
}

// Appends a code unit as the line shows it: a control character in caret
// notation ("^A"), so that it takes visible columns and moves nothing.
void AppendVisibly(char16_t unit, std::u16string& shown) {
  if (unit < 0x20 || unit == 0x7f) {
    shown += u'^';
    shown += unit == 0x7f ? u'?' : static_cast<char16_t>(unit + 0x40);
  } else if (unit >= 0x80 && unit < 0xa0) {
    shown += u'\xfffd';  // C1 controls would be taken as commands by the terminal
  } else {
    shown += unit;
  }
}

}  // namespace

int CharacterWidth(char32_t character) {
  if (InRanges(kZeroWidth, character)) return 0;
  if (InRanges(kDoubleWidth, character)) return 2;
  return 1;
}

int TextWidth(std::u16string_view text) {
  return Advance({}, text, std::numeric_limits<int>::max()).column;
}

std::u16string DisplayText(std::u16string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (const char16_t unit : text) AppendVisibly(unit, shown);
  return shown;
}

std::u16string TerminalSafeText(std::u16string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const bool endsLine = unit == u'\n' || (unit == u'\r' && text.substr(i + 1, 1) == u"\n");
    if (endsLine || unit == u'\t') {
      shown += unit;
    } else {
      AppendVisibly(unit, shown);
    }
  }
  return shown;
}

ScreenPosition Advance(ScreenPosition start, std::u16string_view text, int columns) {
  ScreenPosition position = start;
  for (size_t index = 0; index < text.size();) {
    size_t units = 1;
    const int width = CharacterWidth(CharacterAt(text, index, units));
    index += units;
    if (width == 0) continue;
    if (position.column > 0 && position.column + width > columns) {
      ++position.row;
      position.column = 0;
    }
    position.column += width;
  }
  return position;
}

ScreenPosition Normalized(ScreenPosition position, int columns) {
  if (position.column >= columns) return {position.row + 1, 0};
  return position;
}

}  // namespace demo
