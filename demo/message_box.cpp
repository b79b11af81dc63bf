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

std::u16string ExpandTabs(std::u16string_view line) {
  std::u16string expanded;
  size_t start = 0;
  for (size_t tab = line.find(u'\t'); tab != std::u16string_view::npos;
       tab = line.find(u'\t', start)) {
    expanded += line.substr(start, tab - start);
    expanded.append(static_cast<size_t>(kTabStop - TextWidth(expanded) % kTabStop), u' ');
    start = tab + 1;
  }
  expanded += line.substr(start);
  return expanded;
}

// The text's lines as they are shown: carriage returns dropped, tabs
// expanded, other control characters made visible. The line break that ends
// the text opens no empty line of its own.
std::vector<std::u16string> ShownLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::u16string line;
  for (const char16_t unit : text) {
    if (unit == u'\n') {
      lines.push_back(DisplayText(ExpandTabs(line)));
      line.clear();
    } else if (unit != u'\r') {
      line += unit;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(DisplayText(ExpandTabs(line)));
  return lines;
}

std::string Repeated(std::string_view piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// Waits until the user presses Enter (or input ends).
void WaitForEnter() {
  Terminal::Write("Press Enter to close.");
  for (;;) {
    char byte = 0;
    const ssize_t count = ::read(STDIN_FILENO, &byte, 1);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0 || byte == '\n' || byte == '\r') break;
  }
  Terminal::Write("\r\n");
}

}  // namespace

std::string FramedMessageBox(std::u16string_view text, std::u16string_view caption) {
  const std::u16string title = DisplayText(caption);
  const std::vector<std::u16string> lines = ShownLines(text);
  const int titleWidth = TextWidth(title);
  int inner = titleWidth + 2;
  for (const auto& line : lines) inner = std::max(inner, TextWidth(line));

  // ┌─ caption ───┐, │ line │ ..., └─────────────┘; the inner width plus a
  // blank on either side.
  std::string box = "\u250c\u2500 " + support::ToUtf8(title) + " " +
                    Repeated("\u2500", inner - titleWidth - 1) + "\u2510\n";
  for (const auto& line : lines) {
    box += "\u2502 " + support::ToUtf8(line) +
           std::string(static_cast<size_t>(inner - TextWidth(line)), ' ') + " \u2502\n";
  }
  box += "\u2514" + Repeated("\u2500", inner + 2) + "\u2518\n";
  return box;
}

int ShowMessageBox(const char16_t* text, const char16_t* caption, unsigned /*type*/) {
  Terminal::Write(
      FramedMessageBox(text != nullptr ? text : u"", caption != nullptr ? caption : u""));
  if (Terminal::IsInteractive()) WaitForEnter();
  return kIdOk;
}

}  // namespace demo
