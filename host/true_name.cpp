#include "host/true_name.h"

#include <algorithm>
#include <vector>

#include "host/state.h"
#include "host/takecmd.h"

namespace host {

namespace {

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

bool IsDriveLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The components of a path, as views into it: the non-empty texts between
// separators.
std::vector<std::u16string_view> SplitComponents(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (i > start) parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

bool AllDots(std::u16string_view part) {
  return part.find_first_not_of(u'.') == part.npos;
}

// Applies ".", ".." and longer runs of dots to a list of components.
std::vector<std::u16string_view> Resolve(const std::vector<std::u16string_view>& parts) {
  std::vector<std::u16string_view> resolved;
  resolved.reserve(parts.size());
  for (const auto part : parts) {
    if (AllDots(part)) {
      for (size_t up = part.size() - 1; up > 0 && !resolved.empty(); --up) resolved.pop_back();
    } else {
      resolved.push_back(part);
    }
  }
  if (!resolved.empty()) {
    std::u16string_view& last = resolved.back();
    const size_t keep = last.find_last_not_of(u". ");
    if (keep != last.npos) last = last.substr(0, keep + 1);
  }
  return resolved;
}

std::u16string Join(std::u16string_view root, const std::vector<std::u16string_view>& parts) {
  size_t length = root.size();
  for (const auto part : parts) length += 1 + part.size();
  std::u16string path;
  path.reserve(length);
  path += root;
  for (const auto part : parts) {
    path += u'\\';
    path += part;
  }
  return path;
}

}  // namespace

// Components are views into the unquoted name and the current directory, so
// a name is copied once more only when it is joined again.
std::u16string CanonicalName(std::u16string_view name) {
  std::u16string text(name);
  text.erase(std::remove(text.begin(), text.end(), u'"'), text.end());
  if (text.size() >= 4 && IsSeparator(text[0]) && IsSeparator(text[1]) &&
      (text[2] == u'?' || text[2] == u'.') && IsSeparator(text[3])) {
    return text;
  }
  const ShellState& state = State();
  if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
    // \\server\share\rest: the server and share form the root.
    std::vector<std::u16string_view> parts = SplitComponents(std::u16string_view(text).substr(2));
    std::u16string root = u"\\";
    size_t rootParts = 0;
    while (rootParts < 2 && rootParts < parts.size()) {
      root += u'\\';
      root += parts[rootParts++];
    }
    parts.erase(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(rootParts));
    return Join(root, Resolve(parts));
  }
  char16_t drive = state.drive;
  std::u16string_view rest = text;
  if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == u':') {
    drive = host::UpperAscii(text.substr(0, 1))[0];
    rest.remove_prefix(2);
  }
  std::vector<std::u16string_view> parts;
  if (rest.empty() || !IsSeparator(rest[0])) {
    const auto current = state.directories.find(drive);
    if (current != state.directories.end()) parts = SplitComponents(current->second);
  }
  for (const auto part : SplitComponents(rest)) parts.push_back(part);
  const std::u16string root{drive, u':'};
  const std::vector<std::u16string_view> resolved = Resolve(parts);
  return resolved.empty() ? root + u"\\" : Join(root, resolved);
}

}  // namespace host

extern "C" {

int QueryTrueName(const char16_t* name, char16_t* trueName) {
  if (trueName == nullptr) return -1;
  if (name == nullptr) {
    trueName[0] = u'\0';
    return -1;
  }
  const std::u16string canonical = host::CanonicalName(name);
  // The caller's buffer holds 8,192 characters.
  host::CopyOut(canonical, trueName, 8192);
  return 0;
}

int HostSetCurrentDirectory(const char16_t* directory) {
  if (directory == nullptr || *directory == u'\0') return 1;
  const std::u16string canonical = host::CanonicalName(directory);
  if (canonical.size() < 3 || canonical[1] != u':') return 1;  // UNC has no current directory
  host::ShellState& state = host::State();
  state.drive = canonical[0];
  state.directories[state.drive] = canonical.substr(2) == u"\\" ? u"" : canonical.substr(2);
  return 0;
}

}  // extern "C"
