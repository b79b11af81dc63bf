// The command-line editor: keys to the hook first, then their own action,
// and a display that redraws the line across as many rows as it needs.
#include "demo/line_editor.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "demo/console_output.h"
#include "host/takecmd.h"
#include "platform/posix/standin.h"
#include "support/utf.h"

namespace demo {

namespace {

// The host's line buffer holds 65,536 characters, the terminator included.
constexpr size_t kHookLineCapacity = EditBuffer::kCapacity + 1;
constexpr size_t kLabelCapacity = 64;

// The modifiers of a key press as the keyboard state the hook reads.
void HoldModifiers(unsigned modifiers) {
  standin::SetKeyDown(platform::VK_SHIFT, (modifiers & kShift) != 0);
  standin::SetKeyDown(platform::VK_CONTROL, (modifiers & kCtrl) != 0);
  standin::SetKeyDown(platform::VK_MENU, (modifiers & kAlt) != 0);
}

void CollectOutput(int /*stream*/, const char16_t* text, size_t length, void* context) {
  static_cast<std::u16string*>(context)->append(text, length);
}

bool IsPrintable(char32_t character) {
  return character >= 0x20 && character != 0x7f && !(character >= 0x80 && character < 0xa0);
}

// The offset of the hook's cursor in a line of the given length, from the
// addresses alone; a cursor the hook left outside the line goes to its end.
size_t CursorOffset(const char16_t* line, const char16_t* cursor, size_t length) {
  const auto start = reinterpret_cast<uintptr_t>(line);
  const auto at = reinterpret_cast<uintptr_t>(cursor);
  if (at < start) return length;
  return std::min<uintptr_t>((at - start) / sizeof(char16_t), length);
}

void Bell() {
  Terminal::Write("\a");
}

std::string Sequence(int count, char final) {
  return "\x1b[" + std::to_string(count) + final;
}

}  // namespace

LineEditor::LineEditor(Terminal& terminal, KeyScheme scheme)
    : terminal_(terminal), scheme_(scheme), hookLine_(kHookLineCapacity, u'\0') {
  HostSetClearLineHandler(&LineEditor::ClearEditLineHandler, this);
}

LineEditor::~LineEditor() {
  HostSetClearLineHandler(nullptr, nullptr);
}

std::optional<std::u16string> LineEditor::ReadLine(std::u16string_view prompt) {
  prompt_ = prompt;
  buffer_.Clear();
  history_.Restart();
  terminal_.EnterRawMode();
  DrawPrompt();
  Outcome outcome = Outcome::kEditing;
  while (outcome == Outcome::kEditing) {
    const std::optional<KeyPress> press = terminal_.ReadKey();
    if (!press) {
      outcome = Outcome::kEnded;
      break;
    }
    const std::u16string textBefore = buffer_.Text();
    const size_t cursorBefore = buffer_.Cursor();
    if (!OfferToHook(*press)) outcome = Perform(*press);
    if (displayStale_ || buffer_.Text() != textBefore || buffer_.Cursor() != cursorBefore) Render();
  }

  std::string out;
  MoveCursorTo(EndOfText(), out);
  out += outcome == Outcome::kCancelled ? "^C\r\n" : "\r\n";
  terminal_.Write(out);
  terminal_.LeaveRawMode();
  switch (outcome) {
    case Outcome::kAccepted:
      history_.Add(buffer_.Text());
      return buffer_.Text();
    case Outcome::kCancelled:
      return std::u16string();
    default:
      return std::nullopt;
  }
}

bool LineEditor::OfferToHook(const KeyPress& press) {
  const HostKey hostKey = HostKeyOf(press, scheme_);
  const std::u16string& text = buffer_.Text();
  std::copy(text.begin(), text.end(), hookLine_.begin());
  hookLine_[text.size()] = u'\0';
  char16_t label[kLabelCapacity] = {};
  std::copy_n(hostKey.label.begin(), std::min(hostKey.label.size(), kLabelCapacity - 1), label);

  KeystrokeRecord record{};
  record.keyCode = hostKey.code;
  record.line = hookLine_.data();
  record.cursor = hookLine_.data() + buffer_.Cursor();
  record.redraw = 0;
  record.keyLabel = hostKey.label.empty() ? nullptr : label;

  // What the plug-in prints meanwhile (an error message) is shown above the
  // line afterwards rather than in the middle of it.
  std::u16string output;
  HostSetOutputSink(&CollectOutput, &output);
  HoldModifiers(press.modifiers);
  HostKeystroke(&record);
  HoldModifiers(0);
  HostSetOutputSink(&ConsoleSink, nullptr);

  if (record.redraw != 0) {
    hookLine_.back() = u'\0';  // the line ends within its buffer, whatever was written
    const size_t length = std::char_traits<char16_t>::length(hookLine_.data());
    buffer_.Assign(std::u16string_view(hookLine_.data(), length),
                   CursorOffset(record.line, record.cursor, length));
    displayStale_ = true;
  }
  if (!output.empty()) ShowHostOutput(output);
  return (hostKey.code != 0 && record.keyCode == 0) ||
         (!hostKey.label.empty() && label[0] == u'\0');
}

LineEditor::Outcome LineEditor::Perform(const KeyPress& press) {
  const unsigned modifiers = press.modifiers & (kCtrl | kAlt);
  switch (press.key) {
    case Key::kCharacter:
      if (modifiers == 0) {
        if (!IsPrintable(press.character) || !buffer_.Insert(press.character)) Bell();
      } else if (modifiers == kCtrl) {
        return PerformControl(press.character);
      } else if (modifiers == kAlt && press.character == U'b') {
        buffer_.MoveWordLeft();
      } else if (modifiers == kAlt && press.character == U'f') {
        buffer_.MoveWordRight();
      }
      break;
    case Key::kEnter:
      return Outcome::kAccepted;
    case Key::kBackspace:
      buffer_.DeleteBackward();
      break;
    case Key::kDel:
      buffer_.DeleteForward();
      break;
    case Key::kLeft:
      (modifiers & kCtrl) ? buffer_.MoveWordLeft() : buffer_.MoveLeft();
      break;
    case Key::kRight:
      (modifiers & kCtrl) ? buffer_.MoveWordRight() : buffer_.MoveRight();
      break;
    case Key::kHome:
      buffer_.MoveHome();
      break;
    case Key::kEnd:
      buffer_.MoveEnd();
      break;
    case Key::kUp:
      ShowOlder();
      break;
    case Key::kDown:
      ShowNewer();
      break;
    case Key::kEscape:  // as in TCC, Esc erases the line
      buffer_.Clear();
      break;
    default:
      break;
  }
  return Outcome::kEditing;
}

// Ctrl with a letter: the usual Emacs-style keys.
LineEditor::Outcome LineEditor::PerformControl(char32_t letter) {
  switch (letter) {
    case U'a':
      buffer_.MoveHome();
      break;
    case U'b':
      buffer_.MoveLeft();
      break;
    case U'c':
      return Outcome::kCancelled;
    case U'd':
      if (buffer_.Text().empty()) return Outcome::kEnded;
      buffer_.DeleteForward();
      break;
    case U'e':
      buffer_.MoveEnd();
      break;
    case U'f':
      buffer_.MoveRight();
      break;
    case U'h':
      buffer_.DeleteBackward();
      break;
    case U'j':
    case U'm':
      return Outcome::kAccepted;
    case U'k':
      buffer_.DeleteToEnd();
      break;
    case U'l':
      Terminal::Write("\x1b[H\x1b[2J");
      DrawPrompt();
      displayStale_ = true;
      break;
    case U'n':
      ShowNewer();
      break;
    case U'p':
      ShowOlder();
      break;
    case U'u':
      buffer_.DeleteToStart();
      break;
    default:
      break;
  }
  return Outcome::kEditing;
}

void LineEditor::ShowOlder() {
  if (const auto line = history_.Older(buffer_.Text())) {
    buffer_.Assign(*line, line->size());
  } else {
    Bell();
  }
}

void LineEditor::ShowNewer() {
  if (const auto line = history_.Newer()) {
    buffer_.Assign(*line, line->size());
  } else {
    Bell();
  }
}

// Writes the prompt from the start of the cursor's row.
void LineEditor::DrawPrompt() {
  columns_ = terminal_.Columns();
  const std::u16string shown = DisplayText(prompt_);
  std::string out = support::ToUtf8(shown);
  ScreenPosition end = Advance({}, shown, columns_);
  if (end.column >= columns_) {
    out += "\r\n";
    end = Normalized(end, columns_);
  }
  promptEnd_ = end;
  shownCursor_ = end;
  Terminal::Write(out);
}

// Redraws the line after the prompt and puts the cursor in its place. A line
// that ends at the right margin is followed by a new row, so that the cursor
// never waits at the margin and every position is one the terminal agrees on.
void LineEditor::Render() {
  columns_ = terminal_.Columns();
  std::string out;
  MoveCursorTo(promptEnd_, out);
  out += "\x1b[J";
  const std::u16string shown = DisplayText(buffer_.Text());
  out += support::ToUtf8(shown);
  ScreenPosition end = Advance(promptEnd_, shown, columns_);
  if (end.column >= columns_) {
    out += "\r\n";
    end = Normalized(end, columns_);
  }
  shownCursor_ = end;
  const std::u16string_view beforeCursor =
      std::u16string_view(buffer_.Text()).substr(0, buffer_.Cursor());
  MoveCursorTo(Normalized(Advance(promptEnd_, DisplayText(beforeCursor), columns_), columns_), out);
  Terminal::Write(out);
  displayStale_ = false;
}

// Erases the line after the prompt; the host's ClearEditLine.
void LineEditor::EraseLine() {
  std::string out;
  MoveCursorTo(promptEnd_, out);
  out += "\x1b[J";
  Terminal::Write(out);
  displayStale_ = true;
}

void LineEditor::MoveCursorTo(ScreenPosition target, std::string& out) {
  if (target.row < shownCursor_.row) out += Sequence(shownCursor_.row - target.row, 'A');
  if (target.row > shownCursor_.row) out += Sequence(target.row - shownCursor_.row, 'B');
  out += '\r';
  if (target.column > 0) out += Sequence(target.column, 'C');
  shownCursor_ = target;
}

ScreenPosition LineEditor::EndOfText() const {
  return Normalized(Advance(promptEnd_, DisplayText(buffer_.Text()), columns_), columns_);
}

// Shows what the host printed below the line, then the prompt and the line again.
void LineEditor::ShowHostOutput(const std::u16string& output) {
  if (displayStale_) Render();
  std::string out;
  const ScreenPosition end = EndOfText();
  MoveCursorTo(end, out);
  if (end.column != 0) out += "\r\n";
  out += support::ToUtf8(TerminalSafeText(output));
  if (output.back() != u'\n') out += "\r\n";
  Terminal::Write(out);
  DrawPrompt();
  Render();
}

void LineEditor::ClearEditLineHandler(const char16_t* /*line*/, void* context) {
  static_cast<LineEditor*>(context)->EraseLine();
}

}  // namespace demo
