#include "host/state.h"

#include "host/takecmd.h"

namespace host {

ShellState& State() {
  static ShellState state;
  return state;
}

void ResetState() {
  State() = ShellState{};
}

std::u16string UpperAscii(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  return upper;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string_view SkipBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::u16string_view TrimEnd(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

size_t CopyOut(std::u16string_view text, char16_t* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return 0;
  const size_t length = text.size() < capacity ? text.size() : capacity - 1;
  text.copy(out, length);
  out[length] = u'\0';
  return length;
}

}  // namespace host

extern "C" {

void HostReset(void) {
  host::ResetState();
}

void HostSetVariable(const char16_t* name, const char16_t* value) {
  if (name == nullptr || *name == u'\0') return;
  auto& variables = host::State().variables;
  const std::u16string key = host::UpperAscii(name);
  if (value == nullptr) {
    variables.erase(key);
  } else {
    variables[key] = {name, value};
  }
}

void HostSetVersion(const char16_t* version) {
  host::State().hasVersion = version != nullptr;
  host::State().version = version != nullptr ? version : u"";
}

void HostSetTransient(int transient) {
  host::State().transient = transient != 0;
}

void HostSetPipe(int pipe) {
  host::State().pipe = pipe != 0;
}

void HostSetBatch(const char16_t* name, int line) {
  auto& batches = host::State().batches;
  batches.clear();
  if (name != nullptr) batches.push_back({name, line, {}});
}

int HostExitRequested(int* exitCode) {
  if (exitCode != nullptr) *exitCode = host::State().exitCode;
  return host::State().exitRequested ? 1 : 0;
}

}  // extern "C"
