// The terminal the demo runs in: raw mode while a line is edited, key
// presses read from it, and bytes written to it; and the demo's standard
// output and error, for the host and the prompt.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "demo/terminal_keys.h"

namespace demo {

class Terminal {
 public:
  // True when standard input and output are both a terminal.
  static bool IsInteractive();

  Terminal() = default;
  // Leaves raw mode if it is still on.
  ~Terminal() { LeaveRawMode(); }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // Raw mode: no echo, no line buffering, control keys delivered as bytes.
  // The terminal's own mode comes back on LeaveRawMode, at exit, and when a
  // signal ends the program.
  void EnterRawMode();
  void LeaveRawMode();

  // The width of the screen in columns.
  int Columns() const;

  // The next key press; a press of no key (Key::kNone) when the window has
  // changed size since the last call and no key waits; nothing once input
  // has ended.
  std::optional<KeyPress> ReadKey();

  // Writes all of bytes to standard output.
  static void Write(std::string_view bytes);

 private:
  // Adds what the terminal has sent to pending_, waiting at most timeout
  // milliseconds (-1: as long as it takes). True as well when the window
  // changed size meanwhile; false when nothing came in time or input has ended.
  bool ReadMore(int timeoutMilliseconds);

  std::string pending_;
};

// Writes text to HOST_STDOUT or HOST_STDERR as UTF-8. On a terminal its
// control characters are made visible first (TerminalSafeText): a name
// decoded from "%1B" must not clear the user's screen or set the window's
// title. To a pipe or a file the text goes byte for byte as it came.
void WriteToConsole(int stream, std::u16string_view text);

// WriteToConsole as the host's output sink.
void ConsoleSink(int stream, const char16_t* text, size_t length, void* context);

}  // namespace demo
