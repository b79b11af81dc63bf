// Character widths and cursor positions of wrapped text on a terminal.
#include "demo/screen_layout.h"

#include <locale.h>
#include <wchar.h>

#include <limits>

namespace demo {

namespace {

bool IsC0(char32_t character) {
  return character < 0x20 || character == 0x7f;
}
bool IsC1(char32_t character) {
  return character >= 0x80 && character < 0xa0;
}

// Appends a code unit as the line shows it: a control character in caret
// notation ("^A"), so that it takes visible columns and moves nothing.
void AppendVisibly(char16_t unit, std::u16string& shown) {
  if (IsC0(unit)) {
    shown += u'^';
    shown += unit == 0x7f ? u'?' : static_cast<char16_t>(unit + 0x40);
  } else if (IsC1(unit)) {
    shown += u'\xfffd';  // C1 controls would be taken as commands by the terminal
  } else {
    shown += unit;
  }
}

// Columns a character takes on a UTF-8 terminal, by the C library's wcwidth.
// The demo writes UTF-8 whatever locale the environment names, so wcwidth
// answers in C.UTF-8 (every UTF-8 locale has the same widths), for this call
// only: the program keeps the "C" locale. A character the C library calls
// unprintable takes a column, as terminals draw it.
int CharacterWidth(char32_t character) {
  static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  if (utf8 == nullptr) return 1;
  const locale_t previous = ::uselocale(utf8);
  const int width = ::wcwidth(static_cast<wchar_t>(character));
  ::uselocale(previous);
  return width < 0 ? 1 : width;
}

}  // namespace

int TextWidth(std::u16string_view text) {
  return Positions({}, text, std::numeric_limits<int>::max()).back().column;
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

// Control characters take the two columns of their caret notation, a C1
// control the one of U+FFFD, and so does an unpaired surrogate.
std::vector<ScreenPosition> Positions(ScreenPosition start, std::u16string_view text, int columns) {
  std::vector<ScreenPosition> positions(1, start);
  positions.reserve(text.size() + 1);
  for (size_t index = 0; index < text.size();) {
    char32_t character = text[index];
    size_t units = 1;
    if ((character & 0xfc00) == 0xd800 && index + 1 < text.size() &&
        (text[index + 1] & 0xfc00) == 0xdc00) {
      character = 0x10000 + ((character - 0xd800) << 10) + (text[index + 1] - 0xdc00);
      units = 2;
    }
    const bool unpaired = (character & 0xf800) == 0xd800;
    const int width = IsC0(character)               ? 2
                      : IsC1(character) || unpaired ? 1
                                                    : CharacterWidth(character);
    index += units;
    if (width > 0 && start.column > 0 && start.column + width > columns) start = {start.row + 1, 0};
    start.column += width;
    if (start.column >= columns) start = {start.row + 1, 0};
    positions.insert(positions.end(), units, start);
  }
  return positions;
}

}  // namespace demo
