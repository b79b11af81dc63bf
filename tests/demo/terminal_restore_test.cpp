// The terminal comes back out of raw mode however the demo ends: on a signal
// sent to it, on a crash and on std::terminate. Each way is taken in a child
// process whose standard input and output are a pseudo-terminal; the test
// then reads the terminal's mode, which outlives the child.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <exception>

#include "demo/terminal.h"

namespace {

// The mode bits raw mode turns off.
constexpr tcflag_t kLocalBits = ECHO | ICANON | IEXTEN | ISIG;
constexpr tcflag_t kInputBits = BRKINT | ICRNL | IXON;

void EnterRawModeOn(int terminal) {
  ::dup2(terminal, STDIN_FILENO);
  ::dup2(terminal, STDOUT_FILENO);
  static demo::Terminal rawTerminal;
  rawTerminal.EnterRawMode();
}

TEST(TerminalRestoreTest, ModeComesBackHoweverTheProgramEnds) {
  static const struct {
    const char* what;
    void (*end)();
  } rows[] = {
      {"SIGTERM", [] { std::raise(SIGTERM); }},     {"SIGHUP", [] { std::raise(SIGHUP); }},
      {"SIGINT", [] { std::raise(SIGINT); }},       {"SIGSEGV", [] { std::raise(SIGSEGV); }},
      {"SIGBUS", [] { std::raise(SIGBUS); }},       {"SIGFPE", [] { std::raise(SIGFPE); }},
      {"SIGILL", [] { std::raise(SIGILL); }},       {"abort", [] { std::abort(); }},
      {"std::terminate", [] { std::terminate(); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    int controller = -1;
    int terminal = -1;
    ASSERT_EQ(::openpty(&controller, &terminal, nullptr, nullptr, nullptr), 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(terminal, &before), 0);
    ASSERT_NE(before.c_lflag & ICANON, 0u);

    EXPECT_DEATH(
        {
          EnterRawModeOn(terminal);
          termios raw{};
          if (::tcgetattr(STDIN_FILENO, &raw) != 0 || (raw.c_lflag & ICANON) != 0) std::_Exit(0);
          row.end();
        },
        "");

    termios after{};
    ASSERT_EQ(::tcgetattr(terminal, &after), 0);
    EXPECT_EQ(after.c_lflag & kLocalBits, before.c_lflag & kLocalBits);
    EXPECT_EQ(after.c_iflag & kInputBits, before.c_iflag & kInputBits);
    ::close(terminal);
    ::close(controller);
  }
}

}  // namespace
