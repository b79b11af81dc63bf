// The registry editor's export format: one root's keys and values and their
// text. The native registry keeps each root in such a file; the Windows
// tests write one for the registry editor to import.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace support::registry {

struct Value {
  std::u16string name;  // "" for the key's default value
  uint32_t type = 0;
  std::vector<uint8_t> data;
  bool asRead = false;  // read from a file and not set since: written back as it stood
  bool operator==(const Value&) const = default;
};

// A key's path below the root ("" for the root) and its values by folded
// name. A key's ancestors exist without entries of their own.
struct Key {
  std::u16string path;
  std::map<std::u16string, Value> values;
  bool operator==(const Key&) const = default;
};

// A line of the file after its header as it stood, without its line end (a
// value's continuation lines joined by CR LF). A section of the root and the
// values read in it carry the key's folded path; a value its folded name.
struct Line {
  std::string text;
  std::optional<std::u16string> key;
  std::optional<std::u16string> value;
  bool operator==(const Line&) const = default;
};

struct Store {
  std::map<std::u16string, Key> keys;  // by folded path
  std::vector<Line> lines;             // as read, to be written back
  bool operator==(const Store&) const = default;
};

inline constexpr size_t kMaxFileSize = size_t{4} << 20;  // what a hostile file may cost

std::u16string Folded(std::u16string_view name);  // names that fold alike are the same
Key& AddKey(Store& store, std::u16string_view path);
// Reads untrusted text, in which sections of roots other than `root` (such
// as "HKEY_CURRENT_USER") are kept but not read. Gives nothing only when the
// text is no registry export at all.
std::optional<Store> ParseExport(std::string_view text, std::string_view root);
// Writes the lines read as they stood, each value set since in its place,
// new values after their key's last line read, and new keys at the end.
std::string WriteExport(const Store& store, std::string_view root);

}  // namespace support::registry
