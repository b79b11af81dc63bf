// The command-line editor: keys to the hook first, then their own action,
// and a display that draws again only what changed, across as many rows as
// the line needs.
#include "demo/line_editor.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "host/takecmd.h"
#include "platform/posix/standin.h"
#include "support/utf.h"

namespace demo {

namespace {

// The host's line buffer holds 65,536 characters, the terminator included.
constexpr size_t kHookLineCapacity = EditBuffer::kCapacity + 1;
constexpr size_t kLabelCapacity = 64;

// Emacs-style keys: Ctrl with these letters stands for a key of its own.
constexpr std::pair<char32_t, Key> kControlKeys[] = {
    {U'a', Key::kHome},  {U'b', Key::kLeft},      {U'e', Key::kEnd},
    {U'f', Key::kRight}, {U'h', Key::kBackspace}, {U'j', Key::kEnter},
    {U'm', Key::kEnter}, {U'n', Key::kDown},      {U'p', Key::kUp}};

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

std::string Sequence(int count, char final) {
  return "\x1b[" + std::to_string(count) + final;
}

}  // namespace

LineEditor::LineEditor(Terminal& terminal, KeyScheme scheme)
    : terminal_(terminal), scheme_(scheme), hookLine_(kHookLineCapacity, u'\0') {
  HostSetClearLineHandler(
      [](const char16_t*, void* editor) { static_cast<LineEditor*>(editor)->EraseLine(); }, this);
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
    } else if (press->key == Key::kNone) {
      Resize();
    } else if (!OfferToHook(*press)) {
      // An edit changes the line from the cursor before or after it on,
      // whichever comes first.
      const size_t cursor = buffer_.Cursor();
      const size_t length = buffer_.Text().size();
      outcome = Perform(*press);
      if (buffer_.Text().size() != length) Changed(std::min(cursor, buffer_.Cursor()));
    }
    Render();
  }
  std::string out;
  MoveCursorTo(at_.back(), out);
  terminal_.Write(out + (outcome == Outcome::kCancelled ? "^C\r\n" : "\r\n"));
  terminal_.LeaveRawMode();
  if (outcome == Outcome::kAccepted) history_.Add(buffer_.Text());
  if (outcome == Outcome::kEnded) return std::nullopt;
  return outcome == Outcome::kAccepted ? buffer_.Text() : std::u16string();
}

bool LineEditor::OfferToHook(const KeyPress& press) {
  const HostKey hostKey = HostKeyOf(press, scheme_);
  char16_t label[kLabelCapacity] = {};
  std::copy_n(hostKey.label.begin(), std::min(hostKey.label.size(), kLabelCapacity - 1), label);

  KeystrokeRecord record{};
  record.keyCode = hostKey.code;
  record.line = hookLine_.data();
  record.cursor = hookLine_.data() + buffer_.Cursor();
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

// The key's action, one row a key: a key of no row does nothing.
LineEditor::Outcome LineEditor::Perform(KeyPress press) {
  const unsigned held = press.modifiers & (kCtrl | kAlt);
  for (const auto& [letter, key] : kControlKeys) {
    if (press.key == Key::kCharacter && held == kCtrl && press.character == letter) press = {key};
  }
  // Alt-B and Alt-F move by words, as Ctrl-Left and Ctrl-Right do.
  const bool word = press.key == Key::kCharacter && held == kAlt;
  if (word && press.character == U'b') press = {Key::kLeft, 0, kCtrl};
  if (word && press.character == U'f') press = {Key::kRight, 0, kCtrl};
  const Key key = press.key;
  const bool ctrl = (press.modifiers & kCtrl) != 0;
  if (key == Key::kEnter) return Outcome::kAccepted;
  if (key == Key::kBackspace) buffer_.DeleteBackward();
  if (key == Key::kDel) buffer_.DeleteForward();
  if (key == Key::kLeft) ctrl ? buffer_.MoveWordLeft() : buffer_.MoveLeft();
  if (key == Key::kRight) ctrl ? buffer_.MoveWordRight() : buffer_.MoveRight();
  if (key == Key::kHome) buffer_.MoveHome();
  if (key == Key::kEnd) buffer_.MoveEnd();
  if (key == Key::kUp) ShowEntry(history_.Older(buffer_.Text()));
  if (key == Key::kDown) ShowEntry(history_.Newer());
  if (key == Key::kEscape) buffer_.Clear();  // as in TCC, Esc erases the line
  if (key != Key::kCharacter) return Outcome::kEditing;
  if (held == 0 && !(IsPrintable(press.character) && buffer_.Insert(press.character))) {
    Terminal::Write("\a");
  }
  // Ctrl with a letter that is no other key's alias.
  const char32_t letter = held == kCtrl ? press.character : 0;
  if (letter == U'c') return Outcome::kCancelled;
  if (letter == U'd' && buffer_.Text().empty()) return Outcome::kEnded;
  if (letter == U'd') buffer_.DeleteForward();
  if (letter == U'k') buffer_.DeleteToEnd();
  if (letter == U'u') buffer_.DeleteToStart();
  if (letter == U'l') {
    Terminal::Write("\x1b[H\x1b[2J");
    DrawPrompt();
  }
  return Outcome::kEditing;
}

void LineEditor::ShowEntry(const std::optional<std::u16string>& entry) {
  if (!entry) return Terminal::Write("\a");
  buffer_.Assign(*entry, entry->size());
  Changed(0);
}

// The line has changed from the code unit at from on: the hook's copy follows
// at once, the screen at the next Render, each from there on only.
void LineEditor::Changed(size_t from) {
  const std::u16string& text = buffer_.Text();
  from = std::min(from, text.size());
  std::copy(text.data() + from, text.data() + text.size(), hookLine_.data() + from);
  hookLine_[text.size()] = u'\0';
  changedFrom_ = std::min(changedFrom_, from);
}

// Writes the prompt from the start of the cursor's row, at the width the
// window has now. Text that ends at the right margin is followed by a new
// row: terminals disagree on a cursor waiting at the margin.
void LineEditor::DrawPrompt() {
  columns_ = terminal_.Columns();
  cursor_ = Positions({}, prompt_, columns_).back();
  Terminal::Write(support::ToUtf8(DisplayText(prompt_)) +
                  (cursor_.row > 0 && cursor_.column == 0 ? "\r\n" : ""));
  at_.assign(1, cursor_);
  shown_.clear();
}

// From the first code unit that differs from the screen (back to the start
// of its cell: a combining mark or half a surrogate pair cannot be drawn
// alone), erases the rest of the screen and writes the text again.
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
    MoveCursorTo(at_[from], out);
    if (from < shown_.size()) out += "\x1b[J";
    const std::u16string_view changed = std::u16string_view(text).substr(from);
    out += support::ToUtf8(DisplayText(changed));
    const std::vector<ScreenPosition> positions = Positions(at_[from], changed, columns_);
    cursor_ = positions.back();
    if (cursor_.column == 0 && cursor_.row > at_[from].row) out += "\r\n";
    at_.resize(from);
    at_.insert(at_.end(), positions.begin(), positions.end());
    shown_.replace(from, std::u16string::npos, changed);
  }
  MoveCursorTo(at_[buffer_.Cursor()], out);
  Terminal::Write(out);
}

// After the window has changed width, a terminal that cuts rows leaves the
// cursor as far below the prompt's first row as before, one that wraps them
// again where the new width puts it. The fewer rows up of the two never
// reach earlier output; the prompt and the line are drawn from there.
void LineEditor::Resize() {
  const std::u16string beforeCursor = prompt_ + buffer_.Text().substr(0, buffer_.Cursor());
  const int up = std::min(cursor_.row, Positions({}, beforeCursor, terminal_.Columns()).back().row);
  std::string out = "\r";
  if (up > 0) out += Sequence(up, 'A');
  out += "\x1b[J";
  Terminal::Write(out);
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

// Shows what the host printed on rows of its own below the line, then the
// prompt again; Render draws the line after it.
void LineEditor::ShowHostOutput(const std::u16string& output) {
  Render();
  std::string out;
  MoveCursorTo(at_.back(), out);
  if (cursor_.column != 0) out += "\r\n";
  out += support::ToUtf8(TerminalSafeText(output));
  if (output.back() != u'\n') out += "\r\n";
  Terminal::Write(out);
  DrawPrompt();
}

}  // namespace demo
