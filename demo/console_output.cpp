// Standard output and error, made safe where they reach a terminal.
#include "demo/console_output.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "demo/screen_layout.h"
#include "host/takecmd.h"
#include "support/utf.h"

namespace demo {

void WriteToConsole(int stream, std::u16string_view text) {
  std::FILE* file = stream == HOST_STDERR ? stderr : stdout;
  const bool terminal = ::isatty(stream == HOST_STDERR ? STDERR_FILENO : STDOUT_FILENO) != 0;
  const std::string bytes =
      terminal ? support::ToUtf8(TerminalSafeText(text)) : support::ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fflush(file);
}

void ConsoleSink(int stream, const char16_t* text, size_t length, void* /*context*/) {
  WriteToConsole(stream, std::u16string_view(text, length));
}

}  // namespace demo
