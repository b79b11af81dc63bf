// The host functions that write to the console, and ClearEditLine.
#include "host/output.h"

#include <cstdio>
#include <string>

#include "host/takecmd.h"
#include "support/format.h"
#include "support/utf.h"

namespace {

HostOutputSink outputSink = nullptr;
void* outputContext = nullptr;
HostClearLineHandler clearLineHandler = nullptr;
void* clearLineContext = nullptr;

int StreamOf(platform::HANDLE handle) {
  return handle == platform::GetStdHandle(platform::STD_ERROR_HANDLE) ? HOST_STDERR : HOST_STDOUT;
}

}  // namespace

namespace host {

void Write(int stream, std::u16string_view text) {
  if (outputSink != nullptr) {
    outputSink(stream, text.data(), text.size(), outputContext);
    return;
  }
  std::FILE* file = stream == HOST_STDERR ? stderr : stdout;
  const std::string utf8 = support::ToUtf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), file);
  std::fflush(file);
}

}  // namespace host

extern "C" {

void HostSetOutputSink(HostOutputSink sink, void* context) {
  outputSink = sink;
  outputContext = context;
}

void HostSetClearLineHandler(HostClearLineHandler handler, void* context) {
  clearLineHandler = handler;
  clearLineContext = context;
}

int Printf(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = support::FormatWide(format, arguments);
  va_end(arguments);
  host::Write(HOST_STDOUT, text);
  return static_cast<int>(text.size());
}

int Qprintf(platform::HANDLE handle, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = support::FormatWide(format, arguments);
  va_end(arguments);
  host::Write(StreamOf(handle), text);
  return static_cast<int>(text.size());
}

int QPuts(const char16_t* text) {
  if (text == nullptr) return 0;
  const std::u16string_view view(text);
  host::Write(HOST_STDOUT, view);
  return static_cast<int>(view.size());
}

int ClearEditLine(char16_t* line) {
  if (clearLineHandler != nullptr) clearLineHandler(line != nullptr ? line : u"", clearLineContext);
  return 0;
}

}  // extern "C"
