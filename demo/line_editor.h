// The demo's command-line editor. Every key goes to the plug-in's keystroke
// hook first, as the host's own editor does; the hook may rewrite the line,
// or swallow the key, before the editor acts on it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/edit_buffer.h"
#include "demo/host_keys.h"
#include "demo/screen_layout.h"
#include "demo/terminal.h"

namespace demo {

class LineEditor {
 public:
  // Registers itself as the host's clear-line handler while it lives.
  LineEditor(Terminal& terminal, KeyScheme scheme);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // Shows the prompt and reads one line; nothing once input has ended (end of
  // input, or Ctrl-D on an empty line). Ctrl-C gives an empty line.
  std::optional<std::u16string> ReadLine(std::u16string_view prompt);

 private:
  enum class Outcome { kEditing, kAccepted, kCancelled, kEnded };

  // Passes the key to the hook and applies what the hook did to the line.
  // True when the hook swallowed the key.
  bool OfferToHook(const KeyPress& press);
  // The key's own action on the line.
  Outcome Perform(KeyPress press);
  void ShowEntry(const std::optional<std::u16string>& entry);
  void Changed(size_t from);

  // Drawing, in positions counted from the prompt's first row.
  void DrawPrompt();
  void Render();
  void Resize();
  void EraseLine();
  void MoveCursorTo(ScreenPosition target, std::string& out);
  void ShowHostOutput(const std::u16string& output);

  Terminal& terminal_;
  KeyScheme scheme_;
  EditBuffer buffer_;
  History history_;
  std::u16string prompt_;
  int columns_ = 80;
  // What the screen shows after the prompt, where each of its code units
  // starts and where it ends (at_.front() is the prompt's end), and the
  // cursor. The line differs from shown_ from changedFrom_ on at the earliest.
  std::u16string shown_;
  std::vector<ScreenPosition> at_;
  ScreenPosition cursor_;
  size_t changedFrom_ = 0;
  // The host's line buffer handed to the hook, kept equal to the line:
  // 65,536 characters of room.
  std::vector<char16_t> hookLine_;
};

}  // namespace demo
