// Message boxes as framed text on standard output.
#include "demo/message_box.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "demo/screen_layout.h"
#include "demo/terminal.h"
#include "support/utf.h"

namespace demo {

namespace {

constexpr int kIdOk = 1;
constexpr int kTabStop = 8;

// The lines as shown: carriage returns dropped, tabs expanded, other control
// characters made visible; a final line break opens no empty line.
std::vector<std::u16string> ShownLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::u16string line;
  for (const char16_t unit : text) {
    if (unit == u'\n') {
      lines.push_back(DisplayText(line));
      line.clear();
    } else if (unit == u'\t') {
      line.append(static_cast<size_t>(kTabStop - TextWidth(line) % kTabStop), u' ');
    } else if (unit != u'\r') {
      line += unit;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(DisplayText(line));
  return lines;
}

std::u16string Repeated(char16_t unit, int count) {
  return std::u16string(static_cast<size_t>(count), unit);
}

}  // namespace

// The caption in the frame's top line, then each line of the text inside the
// frame, as wide as the widest line or the caption with a blank on either side.
std::string FramedMessageBox(std::u16string_view text, std::u16string_view caption) {
  const std::u16string title = DisplayText(caption);
  const std::vector<std::u16string> lines = ShownLines(text);
  const int titleWidth = TextWidth(title);
  int inner = titleWidth + 2;
  for (const auto& line : lines) inner = std::max(inner, TextWidth(line));
  std::u16string box = u"┌─ " + title + u" " + Repeated(u'─', inner - titleWidth - 1) + u"┐\n";
  for (const auto& line : lines) {
    box += u"│ " + line + Repeated(u' ', inner - TextWidth(line)) + u" │\n";
  }
  return support::ToUtf8(box + u"└" + Repeated(u'─', inner + 2) + u"┘\n");
}

// Writes the framed box to standard output and, on a terminal, waits until
// the user presses Enter (or input ends).
int ShowMessageBox(const char16_t* text, const char16_t* caption, unsigned /*type*/) {
  Terminal::Write(
      FramedMessageBox(text != nullptr ? text : u"", caption != nullptr ? caption : u""));
  if (!Terminal::IsInteractive()) return kIdOk;
  Terminal::Write("Press Enter to close.");
  for (char byte = 0; byte != '\n' && byte != '\r';) {
    const ssize_t count = ::read(STDIN_FILENO, &byte, 1);
    if (count == 0 || (count < 0 && errno != EINTR)) break;
  }
  Terminal::Write("\r\n");
  return kIdOk;
}

}  // namespace demo
