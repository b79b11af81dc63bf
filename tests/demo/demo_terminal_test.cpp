// The demo host on a pseudo-terminal, driven as a user would drive it: the
// hotkey, sent as a terminal sends Ctrl-Alt-U, converts the file name at the
// cursor to its URI and back. Every step waits for the screen output it
// expects; the deadline only keeps a broken run from hanging.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr auto kPatience = std::chrono::seconds(120);
constexpr char kPrompt[] = "C:\\Users\\Marivex>";

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
    // Writes take what fits and never wait, so that Type can read meanwhile.
    if (terminal_ >= 0) ::fcntl(terminal_, F_SETFL, ::fcntl(terminal_, F_GETFL) | O_NONBLOCK);
  }

  ~DemoOnTerminal() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (terminal_ >= 0) ::close(terminal_);
  }

  bool Started() const { return pid_ > 0 && terminal_ >= 0; }

  // Sends bytes as typed or pasted, reading the screen output meanwhile so
  // that neither side waits for the other to empty the terminal's buffers.
  void Type(std::string_view bytes) {
    while (!bytes.empty()) {
      pollfd ready{terminal_, POLLIN | POLLOUT, 0};
      if (::poll(&ready, 1, 1000) < 0) return;
      if ((ready.revents & POLLIN) != 0 && !ReadSome()) return;
      if ((ready.revents & POLLOUT) == 0) continue;
      const ssize_t written = ::write(terminal_, bytes.data(), bytes.size());
      if (written < 0 && errno == EAGAIN) continue;
      if (written <= 0) return;
      bytes.remove_prefix(static_cast<size_t>(written));
    }
  }

  // Gives the window a new width; the program gets SIGWINCH.
  void Resize(unsigned short columns) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = columns;
    ::ioctl(terminal_, TIOCSWINSZ, &size);
  }

  // Reads the screen output until text appears after what earlier calls
  // found. True once it has.
  bool WaitFor(std::string_view text) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    // Only the output not yet searched, and the end of what was, can hold a
    // new match: a long output is searched once, not once a read.
    for (size_t from = searchFrom_;;) {
      const size_t found = output_.find(text, from);
      if (found != std::string::npos) {
        searchFrom_ = found + text.size();
        return true;
      }
      from = std::max(from, output_.size() - std::min(output_.size(), text.size()));
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
  // Where the search of the next WaitFor starts: the end of what it found last.
  size_t Found() const { return searchFrom_; }

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
  ASSERT_TRUE(demo.WaitFor(kPrompt)) << demo.Output();

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

// A paste arrives as one burst of keys, and each still goes to the hook first
// (the hotkey at its end converts the last word). Drawing only what changed
// keeps the bytes written in proportion to the text: redrawing the whole line
// after every key wrote about 4,000 bytes a character for 8,000 characters.
TEST(DemoTerminalTest, PastingWritesInProportionToTheText) {
  for (const size_t length : {8000, 24000}) {
    SCOPED_TRACE(length);
    DemoOnTerminal demo;
    ASSERT_TRUE(demo.Started());
    ASSERT_TRUE(demo.WaitFor(kPrompt)) << demo.Output();
    const size_t before = demo.Output().size();
    demo.Type(std::string(length, 'a') + " C:\\Temp\\a.txt\x1b\x15");
    ASSERT_TRUE(demo.WaitFor(" file:///C:/Temp/a.txt"));
    demo.Type("\x03");  // Ctrl-C
    ASSERT_TRUE(demo.WaitFor("^C"));
    EXPECT_LE(demo.Found() - before, 3 * length);
    demo.Type("exit\r");
    EXPECT_EQ(demo.WaitForExit(), 0);
  }
}

// The prompt and the line are drawn again whenever what is on the screen no
// longer shows them: after the window changes width, the redraw starts on
// the prompt's row as far as a terminal that cuts rows and one that rewraps
// them agree (the fewer rows up), so it never erases earlier output; and
// after the hook writes a message, which goes on rows of its own below the
// line (the terminal sends each "\n" as "\r\n").
TEST(DemoTerminalTest, PromptAndLineAreDrawnAgain) {
  const std::string line = "echo " + std::string(150, 'b');
  const struct {
    const char* what;
    unsigned short columns;  // 0: no resize
    std::string keys;
    std::string output;
  } steps[] = {
      // 172 characters on 100 columns: the cursor on the second row.
      {"typed", 0, line + "\x0c", line},
      {"narrowed: cut rows keep the cursor's row", 30, "", "\r\x1b[1A\x1b[J" + (kPrompt + line)},
      {"widened: rewrapped rows lose rows", 60, "", "\r\x1b[2A\x1b[J" + (kPrompt + line)},
      {"one row", 200, "", "\r\x1b[J" + (kPrompt + line)},
      {"the hook's message", 0,
       "\x15"
       "echo \"\"\x1b[D\x1b\x15",
       "\nMarivex plugin: Missing filename\r\r\n" + (kPrompt + std::string("echo \"\""))},
  };
  DemoOnTerminal demo;
  ASSERT_TRUE(demo.Started());
  ASSERT_TRUE(demo.WaitFor(kPrompt)) << demo.Output();
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.columns != 0) demo.Resize(step.columns);
    demo.Type(step.keys);
    ASSERT_TRUE(demo.WaitFor(step.output)) << demo.Output().substr(demo.Found());
  }
  demo.Type(
      "\x15"
      "exit 3\r");
  EXPECT_EQ(demo.WaitForExit(), 3);
}

// Names decoded from "%1B" hold a real ESC. On the terminal it shows as "^["
// in output and in error messages alike, so it neither clears the screen
// nor sets the window's title.
constexpr char kClearScreen[] =
    "echo %@uri2file[file:///C:/x%%1B%%5B2J] & set %@uri2file[file:///C:/x%%1B%%5D0;title%%07]";

TEST(DemoTerminalTest, ControlCharactersFromDataAreShownVisibly) {
  DemoOnTerminal demo;
  ASSERT_TRUE(demo.Started());
  ASSERT_TRUE(demo.WaitFor(kPrompt)) << demo.Output();
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
