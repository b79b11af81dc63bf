// How text lies on a terminal: the columns each character takes, and where
// the cursor stands after text that wraps at the right margin.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace demo {

// Columns a text takes on one row, as DisplayText shows it, by the C
// library's widths of characters.
int TextWidth(std::u16string_view text);

// The line as it is shown: control characters in caret notation ("^A"), so
// that each takes visible columns and none moves the cursor by itself.
std::u16string DisplayText(std::u16string_view text);

// Output as a terminal may show it without taking orders from it: line
// feeds, a carriage return right before one, and tabs keep their meaning;
// every other control character is shown as DisplayText shows it, so that
// no text can clear the screen, move the cursor or set the window's title.
std::u16string TerminalSafeText(std::u16string_view text);

// A cursor position counted from the row where the text began.
struct ScreenPosition {
  int row = 0;
  int column = 0;

  bool operator==(const ScreenPosition&) const = default;
};

// Where the cursor stands before each code unit of text and after the last
// (the first being start) once the terminal has written it as DisplayText
// shows it on a screen columns wide. A character that does not fit the rest
// of a row goes to the next one; text that fills a row exactly ends at the
// next row's start, where the terminal puts the next character. The second
// unit of a surrogate pair stands where the pair ends.
std::vector<ScreenPosition> Positions(ScreenPosition start, std::u16string_view text, int columns);

}  // namespace demo
