// The demo host on a pseudo-terminal, driven as a user would drive it: the
// hotkey, sent as a terminal sends Ctrl-Alt-U, converts the file name at the
// cursor to its URI and back. Every step waits for the screen output it
// expects; the deadline only keeps a broken run from hanging.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr auto kPatience = std::chrono::seconds(120);

// The demo host running on the other side of a pseudo-terminal.
class DemoOnTerminal {
 public:
  DemoOnTerminal() {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = 100;
    pid_ = ::forkpty(&terminal_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      // A registry that cannot exist, so no saved hotkey: the default Ctrl-Alt-U.
      ::setenv("MARIVEX_REGISTRY_HKCU", "/dev/null/HKCU", 1);
      ::setenv("MARIVEX_REGISTRY_HKLM", "/dev/null/HKLM", 1);
      ::execl(MARIVEX_HOST_PROGRAM, MARIVEX_HOST_PROGRAM, nullptr);
      ::_exit(127);
    }
  }

  ~DemoOnTerminal() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (terminal_ >= 0) ::close(terminal_);
  }

  bool Started() const { return pid_ > 0 && terminal_ >= 0; }

  void Type(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(terminal_, bytes.data(), bytes.size());
      if (written <= 0) return;
      bytes.remove_prefix(static_cast<size_t>(written));
    }
  }

  // Reads the screen output until text appears after what earlier calls
  // found. True once it has.
  bool WaitFor(std::string_view text) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    for (;;) {
      const size_t found = output_.find(text, searchFrom_);
      if (found != std::string::npos) {
        searchFrom_ = found + text.size();
        return true;
      }
      if (std::chrono::steady_clock::now() > deadline || !ReadSome()) return false;
    }
  }

  // Reads until the program ends; its exit status, or -1.
  int WaitForExit() {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      if (!ReadSome()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }

  const std::string& Output() const { return output_; }

 private:
  // Waits a while for output and reads it. False when none came or the
  // terminal has closed.
  bool ReadSome() {
    pollfd ready{terminal_, POLLIN, 0};
    if (::poll(&ready, 1, 1000) <= 0) return ::kill(pid_, 0) == 0;
    char bytes[4096];
    const ssize_t count = ::read(terminal_, bytes, sizeof bytes);
    if (count <= 0) return false;
    output_.append(bytes, static_cast<size_t>(count));
    return true;
  }

  int terminal_ = -1;
  pid_t pid_ = -1;
  bool exited_ = false;
  std::string output_;
  size_t searchFrom_ = 0;
};

TEST(DemoTerminalTest, HotkeyConvertsTheFileNameToItsUriAndBack) {
  DemoOnTerminal demo;
  ASSERT_TRUE(demo.Started());
  ASSERT_TRUE(demo.WaitFor("C:\\Users\\Marivex>")) << demo.Output();

  // Nothing to convert on an empty line: the asterisk sound, the bell.
  demo.Type("\x1b\x15");
  ASSERT_TRUE(demo.WaitFor("\a")) << demo.Output();

  demo.Type("type C:\\Temp\\a.txt");
  ASSERT_TRUE(demo.WaitFor("type C:\\Temp\\a.txt")) << demo.Output();
  demo.Type("\x1b\x15");  // Ctrl-Alt-U: ESC for Alt, then Ctrl-U
  ASSERT_TRUE(demo.WaitFor("type file:///C:/Temp/a.txt")) << demo.Output();
  demo.Type("\x1b\x15");
  ASSERT_TRUE(demo.WaitFor("type C:\\Temp\\a.txt")) << demo.Output();

  demo.Type("\x15");  // Ctrl-U empties the line
  demo.Type("exit 7\r");
  EXPECT_EQ(demo.WaitForExit(), 7) << demo.Output();
}

// Names decoded from "%1B" hold a real ESC. On the terminal it shows as "^["
// in output and in error messages alike, so it neither clears the screen
// nor sets the window's title.
constexpr char kClearScreen[] =
    "echo %@uri2file[file:///C:/x%%1B%%5B2J] & set %@uri2file[file:///C:/x%%1B%%5D0;title%%07]";

TEST(DemoTerminalTest, ControlCharactersFromDataAreShownVisibly) {
  DemoOnTerminal demo;
  ASSERT_TRUE(demo.Started());
  ASSERT_TRUE(demo.WaitFor("C:\\Users\\Marivex>")) << demo.Output();
  demo.Type(std::string(kClearScreen) + "\r");
  ASSERT_TRUE(demo.WaitFor("\"C:\\x^[[2J\"")) << demo.Output();
  ASSERT_TRUE(demo.WaitFor("Not in environment \"\"C:\\x^[]0;title^G\"\"")) << demo.Output();
  demo.Type("exit\r");
  demo.WaitForExit();
  EXPECT_EQ(demo.Output().find("\x1b[2J"), std::string::npos);
  EXPECT_EQ(demo.Output().find("\x1b]0;"), std::string::npos);
}

// To a pipe the same output goes byte for byte as the plug-in produced it.
TEST(DemoTerminalTest, OutputToAPipeIsUnchanged) {
  const std::string command = std::string("MARIVEX_REGISTRY_HKCU=/dev/null/HKCU ") +
                              "MARIVEX_REGISTRY_HKLM=/dev/null/HKLM " + MARIVEX_HOST_PROGRAM +
                              " -c '" + kClearScreen + "' 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char bytes[256];
  for (size_t count; (count = std::fread(bytes, 1, sizeof bytes, pipe)) > 0;) {
    output.append(bytes, count);
  }
  ::pclose(pipe);
  EXPECT_EQ(output,
            "\"C:\\x\x1b[2J\" \r\n"
            "Not in environment \"\"C:\\x\x1b]0;title\a\"\"\r\n");
}

}  // namespace
