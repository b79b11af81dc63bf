// Raw terminal mode with termios, restored however the program ends: at
// exit, on a signal that ends it, on a crash and on std::terminate; and
// standard output and error, made safe where they reach a terminal.
#include "demo/terminal.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "demo/screen_layout.h"
#include "host/takecmd.h"
#include "support/utf.h"

namespace demo {

namespace {

// How long the rest of an escape sequence may take to arrive before a lone
// ESC counts as the Escape key.
constexpr int kEscapeTimeoutMilliseconds = 100;

// Asks xterm-style terminals to send keys such as Ctrl-Minus as
// ESC [ 27 ; m ; code ~, and to stop doing so again. Other terminals ignore it.
constexpr std::string_view kReportOtherKeys = "\x1b[>4;1m";
constexpr std::string_view kStopReportingOtherKeys = "\x1b[>4m";

// The terminal's own mode, saved when raw mode starts. Read by the signal
// handler, so kept in plain static storage.
termios savedMode{};
volatile sig_atomic_t rawModeOn = 0;

// Set when the window changes size. SIGWINCH is blocked but while the
// program waits for input (waitingMask), so that it cannot come between a
// look at the flag and the wait, and ends the wait at once.
volatile sig_atomic_t resized = 0;
sigset_t waitingMask;

// Signals that end the program: those a user or the system sends, and those
// of a crash. Each handler restores the terminal, then hands the signal on
// to whoever handled it before (a sanitizer's report) or to its default.
const int kRestoringSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGABRT,
                                 SIGBUS, SIGFPE, SIGILL,  SIGSEGV};
struct sigaction previousActions[NSIG];

// A crash from running out of stack needs a stack of its own to run the
// handler on.
alignas(16) char signalStack[64 * 1024];

std::terminate_handler previousTerminate = nullptr;

// Puts the terminal back as it was; safe inside a signal handler.
void RestoreMode() {
  if (!rawModeOn) return;
  rawModeOn = 0;
  Terminal::Write(kStopReportingOtherKeys);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
}

void RestoreAndReraise(int signalNumber) {
  RestoreMode();
  ::sigaction(signalNumber, &previousActions[signalNumber], nullptr);
  // Delivered once this handler returns; a crash signal comes back at once
  // from the faulting instruction as well.
  ::raise(signalNumber);
}

void RestoreAndTerminate() {
  RestoreMode();
  if (previousTerminate != nullptr) previousTerminate();
  std::abort();
}

void UseSignalStack() {
  stack_t current{};
  if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0) return;
  stack_t stack{};
  stack.ss_sp = signalStack;
  stack.ss_size = sizeof signalStack;
  ::sigaltstack(&stack, nullptr);
}

void InstallRestorers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction resize {};
  resize.sa_handler = [](int) { resized = 1; };
  sigemptyset(&resize.sa_mask);
  sigaddset(&resize.sa_mask, SIGWINCH);
  ::sigaction(SIGWINCH, &resize, nullptr);
  ::sigprocmask(SIG_BLOCK, &resize.sa_mask, &waitingMask);
  sigdelset(&waitingMask, SIGWINCH);
  std::atexit(RestoreMode);
  previousTerminate = std::set_terminate(RestoreAndTerminate);
  UseSignalStack();
  for (const int signalNumber : kRestoringSignals) {
    struct sigaction action {};
    action.sa_handler = RestoreAndReraise;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    ::sigaction(signalNumber, &action, &previousActions[signalNumber]);
    // A signal the program was told to ignore (SIGHUP under nohup) stays ignored.
    if (previousActions[signalNumber].sa_handler == SIG_IGN) {
      ::sigaction(signalNumber, &previousActions[signalNumber], nullptr);
    }
  }
}

}  // namespace

bool Terminal::IsInteractive() {
  return ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO);
}

void Terminal::EnterRawMode() {
  if (rawModeOn) return;
  termios mode{};
  if (::tcgetattr(STDIN_FILENO, &mode) != 0) return;
  InstallRestorers();
  savedMode = mode;
  // Bytes as typed: no break or parity handling, no CR-to-LF, no flow
  // control, no echo, no line editing, no signals from Ctrl-C and the like.
  // Output processing stays, so that "\n" still starts a new line.
  mode.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
  mode.c_cflag |= CS8;
  mode.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
  mode.c_cc[VMIN] = 1;
  mode.c_cc[VTIME] = 0;
  // TCSANOW keeps what was typed ahead.
  if (::tcsetattr(STDIN_FILENO, TCSANOW, &mode) != 0) return;
  rawModeOn = 1;
  Write(kReportOtherKeys);
}

void Terminal::LeaveRawMode() {
  RestoreMode();
}

int Terminal::Columns() const {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;  // what terminals start with
}

std::optional<KeyPress> Terminal::ReadKey() {
  bool moreMayFollow = true;
  for (;;) {
    if (pending_.empty()) {
      if (resized) {
        resized = 0;
        return KeyPress{};
      }
      if (!ReadMore(-1)) return std::nullopt;
      continue;
    }
    const DecodedKey decoded = DecodeKey(pending_, moreMayFollow);
    if (!decoded.complete) {
      moreMayFollow = ReadMore(kEscapeTimeoutMilliseconds);
      continue;
    }
    pending_.erase(0, decoded.length);
    moreMayFollow = true;
    if (decoded.press.key != Key::kNone) return decoded.press;
  }
}

bool Terminal::ReadMore(int timeoutMilliseconds) {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  const timespec timeout{timeoutMilliseconds / 1000, timeoutMilliseconds % 1000 * 1000000L};
  for (;;) {
    const int ready =
        ::ppoll(&input, 1, timeoutMilliseconds < 0 ? nullptr : &timeout, &waitingMask);
    if (ready < 0 && errno == EINTR && resized) return true;
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char bytes[256];
    const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (count <= 0) return false;
    pending_.append(bytes, static_cast<size_t>(count));
    return true;
  }
}

// Safe inside a signal handler.
void Terminal::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void WriteToConsole(int stream, std::u16string_view text) {
  std::FILE* file = stream == HOST_STDERR ? stderr : stdout;
  const std::string bytes =
      support::ToUtf8(::isatty(::fileno(file)) ? TerminalSafeText(text) : text);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fflush(file);
}

void ConsoleSink(int stream, const char16_t* text, size_t length, void* /*context*/) {
  WriteToConsole(stream, std::u16string_view(text, length));
}

}  // namespace demo
