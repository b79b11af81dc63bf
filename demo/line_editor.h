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
  Outcome Perform(const KeyPress& press);
  Outcome PerformControl(char32_t letter);
  void ShowOlder();
  void ShowNewer();

  // Drawing. The display keeps the prompt's end and the cursor as positions
  // counted from the prompt's first row.
  void DrawPrompt();
  void Render();
  void EraseLine();
  void MoveCursorTo(ScreenPosition target, std::string& out);
  ScreenPosition EndOfText() const;
  void ShowHostOutput(const std::u16string& output);
  static void ClearEditLineHandler(const char16_t* line, void* context);

  Terminal& terminal_;
  KeyScheme scheme_;
  EditBuffer buffer_;
  History history_;
  std::u16string prompt_;
  int columns_ = 80;
  ScreenPosition promptEnd_;
  ScreenPosition shownCursor_;
  // True when the screen no longer shows the line (the hook had it erased).
  bool displayStale_ = false;
  // The host's line buffer handed to the hook: 65,536 characters of room.
  std::vector<char16_t> hookLine_;
};

}  // namespace demo
