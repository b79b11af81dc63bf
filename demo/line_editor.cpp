// The command-line editor: keys to the hook first, then their own action,
// and a display that draws again only what changed, across as many rows as
// the line needs.
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

// What a key does: its key, the character of a kCharacter key, and the
// modifiers among Ctrl and Alt that it needs, exactly these for a character
// and at least these for any other key. The first row that matches acts.
struct LineEditor::Binding {
  Key key;
  char32_t character;
  unsigned modifiers;
  Outcome (LineEditor::*act)();
};

const LineEditor::Binding LineEditor::kBindings[] = {
    {Key::kEnter, 0, 0, &LineEditor::Finish<Outcome::kAccepted>},
    {Key::kBackspace, 0, 0, &LineEditor::Edit<&EditBuffer::DeleteBackward>},
    {Key::kDel, 0, 0, &LineEditor::Edit<&EditBuffer::DeleteForward>},
    {Key::kLeft, 0, kCtrl, &LineEditor::Edit<&EditBuffer::MoveWordLeft>},
    {Key::kLeft, 0, 0, &LineEditor::Edit<&EditBuffer::MoveLeft>},
    {Key::kRight, 0, kCtrl, &LineEditor::Edit<&EditBuffer::MoveWordRight>},
    {Key::kRight, 0, 0, &LineEditor::Edit<&EditBuffer::MoveRight>},
    {Key::kHome, 0, 0, &LineEditor::Edit<&EditBuffer::MoveHome>},
    {Key::kEnd, 0, 0, &LineEditor::Edit<&EditBuffer::MoveEnd>},
    {Key::kUp, 0, 0, &LineEditor::ShowOlder},
    {Key::kDown, 0, 0, &LineEditor::ShowNewer},
    {Key::kEscape, 0, 0, &LineEditor::Edit<&EditBuffer::Clear>},  // as in TCC
    {Key::kCharacter, U'b', kAlt, &LineEditor::Edit<&EditBuffer::MoveWordLeft>},
    {Key::kCharacter, U'f', kAlt, &LineEditor::Edit<&EditBuffer::MoveWordRight>},
    // Ctrl with a letter: the usual Emacs-style keys.
    {Key::kCharacter, U'a', kCtrl, &LineEditor::Edit<&EditBuffer::MoveHome>},
    {Key::kCharacter, U'b', kCtrl, &LineEditor::Edit<&EditBuffer::MoveLeft>},
    {Key::kCharacter, U'c', kCtrl, &LineEditor::Finish<Outcome::kCancelled>},
    {Key::kCharacter, U'd', kCtrl, &LineEditor::DeleteOrEnd},
    {Key::kCharacter, U'e', kCtrl, &LineEditor::Edit<&EditBuffer::MoveEnd>},
    {Key::kCharacter, U'f', kCtrl, &LineEditor::Edit<&EditBuffer::MoveRight>},
    {Key::kCharacter, U'h', kCtrl, &LineEditor::Edit<&EditBuffer::DeleteBackward>},
    {Key::kCharacter, U'j', kCtrl, &LineEditor::Finish<Outcome::kAccepted>},
    {Key::kCharacter, U'k', kCtrl, &LineEditor::Edit<&EditBuffer::DeleteToEnd>},
    {Key::kCharacter, U'l', kCtrl, &LineEditor::ClearScreen},
    {Key::kCharacter, U'm', kCtrl, &LineEditor::Finish<Outcome::kAccepted>},
    {Key::kCharacter, U'n', kCtrl, &LineEditor::ShowNewer},
    {Key::kCharacter, U'p', kCtrl, &LineEditor::ShowOlder},
    {Key::kCharacter, U'u', kCtrl, &LineEditor::Edit<&EditBuffer::DeleteToStart>},
};

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
  Changed(0);
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
    if (press->key == Key::kNone) {
      Resize();
    } else if (!OfferToHook(*press)) {
      // Each edit of the buffer changes the line from the cursor before or
      // after it on, whichever comes first.
      const size_t cursor = buffer_.Cursor();
      const size_t length = buffer_.Text().size();
      outcome = Perform(*press);
      if (buffer_.Text().size() != length) Changed(std::min(cursor, buffer_.Cursor()));
    }
    Render();
  }

  std::string out;
  MoveCursorTo(Normalized(at_.back(), columns_), out);
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
  char16_t label[kLabelCapacity] = {};
  std::copy_n(hostKey.label.begin(), std::min(hostKey.label.size(), kLabelCapacity - 1), label);

  KeystrokeRecord record{};
  record.keyCode = hostKey.code;
  record.line = hookLine_.data();
  record.cursor = hookLine_.data() + buffer_.Cursor();
  record.redraw = 0;
  record.keyLabel = hostKey.label.empty() ? nullptr : label;

  // What the plug-in prints meanwhile (an error message) is shown below the
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
    Changed(0);
  }
  if (!output.empty()) ShowHostOutput(output);
  return (hostKey.code != 0 && record.keyCode == 0) ||
         (!hostKey.label.empty() && label[0] == u'\0');
}

LineEditor::Outcome LineEditor::Perform(const KeyPress& press) {
  const unsigned held = press.modifiers & (kCtrl | kAlt);
  if (press.key == Key::kCharacter && held == 0) {
    if (!IsPrintable(press.character) || !buffer_.Insert(press.character)) Bell();
    return Outcome::kEditing;
  }
  for (const Binding& binding : kBindings) {
    if (binding.key != press.key) continue;
    const bool matches = press.key == Key::kCharacter
                             ? binding.character == press.character && binding.modifiers == held
                             : (binding.modifiers & ~held) == 0;
    if (matches) return (this->*binding.act)();
  }
  return Outcome::kEditing;
}

LineEditor::Outcome LineEditor::DeleteOrEnd() {
  if (buffer_.Text().empty()) return Outcome::kEnded;
  buffer_.DeleteForward();
  return Outcome::kEditing;
}

LineEditor::Outcome LineEditor::ClearScreen() {
  Terminal::Write("\x1b[H\x1b[2J");
  DrawPrompt();
  return Outcome::kEditing;
}

LineEditor::Outcome LineEditor::ShowOlder() {
  return ShowEntry(history_.Older(buffer_.Text()));
}

LineEditor::Outcome LineEditor::ShowNewer() {
  return ShowEntry(history_.Newer());
}

LineEditor::Outcome LineEditor::ShowEntry(const std::optional<std::u16string>& entry) {
  if (!entry) {
    Bell();
  } else {
    buffer_.Assign(*entry, entry->size());
    Changed(0);
  }
  return Outcome::kEditing;
}

// The line has changed from the code unit at from on: the hook's copy
// follows at once, the screen at the next Render. Copying only the changed
// end keeps a paste, one key after another, in proportion to its length.
void LineEditor::Changed(size_t from) {
  const std::u16string& text = buffer_.Text();
  from = std::min(from, text.size());
  std::copy(text.begin() + static_cast<ptrdiff_t>(from), text.end(),
            hookLine_.begin() + static_cast<ptrdiff_t>(from));
  hookLine_[text.size()] = u'\0';
  changedFrom_ = std::min(changedFrom_, from);
}

// Writes the prompt from the start of the cursor's row, for a screen as wide
// as the terminal is now; no line is shown after it yet.
void LineEditor::DrawPrompt() {
  columns_ = terminal_.Columns();
  std::string out = support::ToUtf8(DisplayText(prompt_));
  const ScreenPosition end = Advance({}, prompt_, columns_);
  if (end.column >= columns_) out += "\r\n";
  cursor_ = Normalized(end, columns_);
  at_.assign(1, cursor_);
  shown_.clear();
  Terminal::Write(out);
}

// Brings the screen in line with the text: from the first code unit that
// differs from what it shows (moved back to the start of a terminal cell, as
// a combining mark or the second half of a surrogate pair cannot be drawn
// alone) the rest of the screen is erased and the text written again; then
// the cursor goes to its place. A line that ends at the right margin is
// followed by a new row, so that the cursor never waits at the margin and
// every position is one the terminal agrees on.
void LineEditor::Render() {
  const std::u16string& text = buffer_.Text();
  size_t from = std::min({changedFrom_, shown_.size(), text.size()});
  while (from < shown_.size() && from < text.size() && shown_[from] == text[from]) ++from;
  while (from > 0 && ((from < shown_.size() && at_[from + 1] == at_[from]) ||
                      (from < text.size() && (text[from] & 0xfc00) == 0xdc00))) {
    --from;
  }
  changedFrom_ = text.size();
  std::string out;
  if (from < shown_.size() || from < text.size()) {
    MoveCursorTo(Normalized(at_[from], columns_), out);
    if (from < shown_.size()) out += "\x1b[J";
    const std::u16string_view changed = std::u16string_view(text).substr(from);
    out += support::ToUtf8(DisplayText(changed));
    const std::vector<ScreenPosition> positions = Positions(at_[from], changed, columns_);
    if (positions.back() != positions.front() && positions.back().column >= columns_) {
      out += "\r\n";
    }
    at_.resize(from);
    at_.insert(at_.end(), positions.begin(), positions.end());
    shown_.replace(from, std::u16string::npos, changed);
    cursor_ = Normalized(at_.back(), columns_);
  }
  MoveCursorTo(Normalized(at_[buffer_.Cursor()], columns_), out);
  Terminal::Write(out);
}

// After the window has changed width the cursor is still on its row, but
// how far that is below the prompt's first row depends on the terminal: one
// that cuts rows keeps it as far down as before, one that wraps them again
// puts it where the new width does. Going up the fewer rows of the two stays
// within the line, so no earlier output is erased; the prompt and the line
// are drawn again from there.
void LineEditor::Resize() {
  const int columns = terminal_.Columns();
  const std::u16string beforeCursor = prompt_ + buffer_.Text().substr(0, buffer_.Cursor());
  const int up = std::min(cursor_.row, Normalized(Advance({}, beforeCursor, columns), columns).row);
  Terminal::Write("\r" + (up > 0 ? Sequence(up, 'A') : "") + "\x1b[J");
  DrawPrompt();
}

// Erases the line after the prompt; the host's ClearEditLine.
void LineEditor::EraseLine() {
  std::string out;
  MoveCursorTo(at_.front(), out);
  Terminal::Write(out + "\x1b[J");
  at_.resize(1);
  shown_.clear();
}

void LineEditor::MoveCursorTo(ScreenPosition target, std::string& out) {
  if (target == cursor_) return;
  if (target.row < cursor_.row) out += Sequence(cursor_.row - target.row, 'A');
  if (target.row > cursor_.row) out += Sequence(target.row - cursor_.row, 'B');
  out += '\r';
  if (target.column > 0) out += Sequence(target.column, 'C');
  cursor_ = target;
}

// Shows what the host printed below the line, on rows of its own, then the
// prompt again; the line follows at the next Render.
void LineEditor::ShowHostOutput(const std::u16string& output) {
  Render();
  std::string out;
  MoveCursorTo(Normalized(at_.back(), columns_), out);
  if (cursor_.column != 0) out += "\r\n";
  out += support::ToUtf8(TerminalSafeText(output));
  if (output.back() != u'\n') out += "\r\n";
  Terminal::Write(out);
  DrawPrompt();
}

void LineEditor::ClearEditLineHandler(const char16_t* /*line*/, void* context) {
  static_cast<LineEditor*>(context)->EraseLine();
}

}  // namespace demo
