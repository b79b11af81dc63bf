// Lookups in a registry store, with Windows' case-blind names.
#include "platform/posix/registry_store.h"

namespace standin::registry {

namespace {

// Upper-cases the letters of ASCII and Latin-1, the characters whose case
// Windows ignores in registry names that the plug-in and its tests use.
// Windows folds the letters of every other script too; the stand-in compares
// those exactly, a difference no caller of ours can meet.
char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
  if (c == 0x00FF) return 0x0178;
  return c;
}

}  // namespace

std::u16string FoldedName(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

bool IsSameOrBelow(std::u16string_view path, std::u16string_view ancestor) {
  if (ancestor.empty()) return true;
  if (path.size() < ancestor.size()) return false;
  if (!SameName(path.substr(0, ancestor.size()), ancestor)) return false;
  return path.size() == ancestor.size() || path[ancestor.size()] == u'\\';
}

const Key* FindKey(const Store& store, std::u16string_view path) {
  for (const Key& key : store.keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

Key* FindKey(Store& store, std::u16string_view path) {
  return const_cast<Key*>(FindKey(static_cast<const Store&>(store), path));
}

const Value* FindValue(const Key& key, std::u16string_view name) {
  for (const Value& value : key.values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

Value* FindValue(Key& key, std::u16string_view name) {
  return const_cast<Value*>(FindValue(static_cast<const Key&>(key), name));
}

bool KeyAlive(const Store& store, std::u16string_view path, uint64_t id) {
  if (path.empty()) return true;
  const Key* key = FindKey(store, path);
  return key != nullptr && key->id == id;
}

}  // namespace standin::registry
