// The registry stand-in's contents: the keys and values of one root, as held
// in memory and as written to that root's file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace standin::registry {

struct Value {
  std::u16string name;  // "" is the key's default value
  uint32_t type = 0;
  std::vector<uint8_t> data;
  bool operator==(const Value&) const = default;
};

// A key, known by its path below the root: its names and its ancestors'
// names joined by backslashes, none of them empty. The root itself has the
// path "" and the id 0; every other key gets a fresh id when it is created.
struct Key {
  std::u16string path;
  uint64_t id = 0;
  std::vector<Value> values;
  bool operator==(const Key&) const = default;
};

struct Store {
  uint64_t nextKeyId = 1;
  std::vector<Key> keys;
  bool operator==(const Store&) const = default;
};

// The largest store file the stand-in reads or writes.
inline constexpr size_t kMaxStoreFileSize = size_t{64} << 20;
// The longest value name Windows accepts, in UTF-16 code units.
inline constexpr size_t kMaxValueNameLength = 16383;

// The file format. ParseStore takes untrusted bytes and returns nothing
// unless they are one whole, well-formed store.
std::optional<Store> ParseStore(std::span<const uint8_t> bytes);
std::vector<uint8_t> SerializeStore(const Store& store);

// Names and paths compare without regard to case: two names are the same
// when their folded forms are equal.
std::u16string FoldedName(std::u16string_view name);
bool SameName(std::u16string_view a, std::u16string_view b);
// True when `path` is `ancestor` itself or lies below it.
bool IsSameOrBelow(std::u16string_view path, std::u16string_view ancestor);

Key* FindKey(Store& store, std::u16string_view path);
const Key* FindKey(const Store& store, std::u16string_view path);
Value* FindValue(Key& key, std::u16string_view name);
const Value* FindValue(const Key& key, std::u16string_view name);
// True when the key a handle was opened on still exists: the root always
// does; another key must be found at its path with the same id.
bool KeyAlive(const Store& store, std::u16string_view path, uint64_t id);

}  // namespace standin::registry
