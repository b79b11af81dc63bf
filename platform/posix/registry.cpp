// Stand-in for the registry calls. HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// are each kept in a file (registry_file.cpp); the calls give the results and
// out-parameters that Windows gives, as observed case by case.
//
// A handle remembers its root, its key's path and the key's id, not the
// key's contents: every call reads the root's file as it is at that moment,
// so a value another process saved meanwhile is seen at once. A handle whose
// key was deleted (or deleted and made again, which gives it a new id) answers
// ERROR_KEY_DELETED, as on Windows.
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/registry_file.h"
#include "platform/posix/standin.h"

namespace {

using platform::DWORD;
using platform::HKEY;
using platform::LSTATUS;
using platform::REGSAM;
using standin::registry::FindKey;
using standin::registry::FindValue;
using standin::registry::Key;
using standin::registry::KeyAlive;
using standin::registry::Root;
using standin::registry::Store;

constexpr REGSAM kKeyCreateSubKey = 0x0004;
constexpr REGSAM kKeyCreateLink = 0x0020;
constexpr REGSAM kDelete = 0x00010000;
constexpr REGSAM kWriteDac = 0x00040000;
constexpr REGSAM kWriteOwner = 0x00080000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kGenericExecute = 0x20000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericRead = 0x80000000;
// The rights a root that refuses writes does not grant.
constexpr REGSAM kWriteRights =
    platform::KEY_SET_VALUE | kKeyCreateSubKey | kKeyCreateLink | kDelete | kWriteDac | kWriteOwner;

struct OpenKey {
  Root root;
  std::u16string path;
  uint64_t id;
  REGSAM access;
};

std::mutex handlesMutex;
std::map<uintptr_t, OpenKey> openKeys;
// Handle values are multiples of four, as Windows' are, and never reused.
uintptr_t nextHandle = 0x1000;

std::optional<Root> RootOf(HKEY key) {
  if (key == platform::HKEY_CURRENT_USER) return Root::CurrentUser;
  if (key == platform::HKEY_LOCAL_MACHINE) return Root::LocalMachine;
  return std::nullopt;
}

// Windows' predefined roots are the 32-bit values from 0x80000000 up,
// sign-extended. Closing one does nothing and succeeds; of them the stand-in
// keeps only HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, and takes the others
// for invalid handles.
bool IsPredefined(HKEY key) {
  const intptr_t value = reinterpret_cast<intptr_t>(key);
  return value >= INT32_MIN && value <= INT32_MIN + 0x60;
}

std::optional<OpenKey> Resolve(HKEY key) {
  if (const std::optional<Root> root = RootOf(key)) {
    return OpenKey{*root, u"", 0, platform::KEY_ALL_ACCESS};
  }
  std::lock_guard<std::mutex> guard(handlesMutex);
  const auto found = openKeys.find(reinterpret_cast<uintptr_t>(key));
  if (found == openKeys.end()) return std::nullopt;
  return found->second;
}

HKEY AddHandle(OpenKey key) {
  std::lock_guard<std::mutex> guard(handlesMutex);
  const uintptr_t value = nextHandle;
  nextHandle += 4;
  openKeys.emplace(value, std::move(key));
  return reinterpret_cast<HKEY>(value);
}

// The specific rights a request for generic ones stands for.
REGSAM GrantedAccess(REGSAM desired) {
  REGSAM access = desired & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll);
  if (desired & (kGenericRead | kGenericExecute)) access |= platform::KEY_READ;
  if (desired & kGenericWrite) access |= platform::KEY_WRITE;
  if (desired & kGenericAll) access |= platform::KEY_ALL_ACCESS;
  return access;
}

// Appends the names of a subkey argument to a key path. Empty names, from a
// trailing or doubled backslash, are skipped as Windows skips them; a
// leading backslash is refused.
bool AppendSubKey(std::u16string& path, const char16_t* subKey) {
  if (subKey == nullptr) return true;
  std::u16string_view rest(subKey);
  if (!rest.empty() && rest.front() == u'\\') return false;
  while (!rest.empty()) {
    const size_t end = rest.find(u'\\');
    const std::u16string_view name = rest.substr(0, end);
    if (!name.empty()) {
      if (!path.empty()) path += u'\\';
      path += name;
    }
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
  }
  return true;
}

// Creates the key at `path` and any missing ancestors, new names in the
// caller's case below the ones that exist. Returns the key.
const Key& CreateKeyPath(Store& store, std::u16string_view path, bool& created) {
  std::u16string current;
  const Key* key = nullptr;
  std::u16string_view rest = path;
  while (!rest.empty()) {
    const size_t end = rest.find(u'\\');
    std::u16string candidate = current;
    if (!candidate.empty()) candidate += u'\\';
    candidate += rest.substr(0, end);
    key = FindKey(store, candidate);
    if (key == nullptr) {
      store.keys.push_back(Key{candidate, store.nextKeyId++, {}});
      key = &store.keys.back();
      created = true;
    }
    current = key->path;
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
  }
  return *key;
}

}  // namespace

namespace standin {

void SetRegistryFile(platform::HKEY root, std::string path) {
  if (const std::optional<Root> known = RootOf(root))
    registry::SetStoreFile(*known, std::move(path));
}

std::string RegistryFile(platform::HKEY root) {
  const std::optional<Root> known = RootOf(root);
  return known ? registry::StoreFile(*known) : std::string();
}

void SetRegistryReadOnly(platform::HKEY root, bool readOnly) {
  if (const std::optional<Root> known = RootOf(root)) registry::SetReadOnly(*known, readOnly);
}

void SetRegistrySaveHook(RegistrySaveHook hook) {
  registry::SetSaveHook(std::move(hook));
}

}  // namespace standin

namespace platform {

LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD /*options*/, REGSAM desired,
                      HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  const std::optional<OpenKey> parent = Resolve(key);
  if (!parent) return ERROR_INVALID_HANDLE;
  std::u16string path = parent->path;
  if (!AppendSubKey(path, subKey)) return ERROR_BAD_PATHNAME;
  // Opening a root itself gives back the root's own handle.
  if (path.empty() && IsPredefined(key)) {
    *result = key;
    return ERROR_SUCCESS;
  }

  const Store store = standin::registry::LoadStore(parent->root);
  if (!KeyAlive(store, parent->path, parent->id)) return ERROR_KEY_DELETED;
  uint64_t id = 0;
  if (!path.empty()) {
    const Key* found = FindKey(store, path);
    if (found == nullptr) return ERROR_FILE_NOT_FOUND;
    path = found->path;
    id = found->id;
  }
  const REGSAM access = GrantedAccess(desired);
  if ((access & kWriteRights) != 0 && !standin::registry::StoreWritable(parent->root)) {
    return ERROR_ACCESS_DENIED;
  }
  *result = AddHandle(OpenKey{parent->root, std::move(path), id, access});
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD /*reserved*/,
                        char16_t* /*className*/, DWORD /*options*/, REGSAM desired,
                        const void* /*securityAttributes*/, HKEY* result, DWORD* disposition) {
  // Wine faults on a null result; the stand-in refuses it instead.
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  const std::optional<OpenKey> parent = Resolve(key);
  if (!parent) return ERROR_INVALID_HANDLE;
  std::u16string path = parent->path;
  if (!AppendSubKey(path, subKey)) return ERROR_BAD_PATHNAME;
  const REGSAM access = GrantedAccess(desired);

  // A key that exists is opened without touching the file; a root that
  // refuses writes still refuses write access to it.
  const Store store = standin::registry::LoadStore(parent->root);
  if (!KeyAlive(store, parent->path, parent->id)) return ERROR_KEY_DELETED;
  const Key* existing = path.empty() ? nullptr : FindKey(store, path);
  if (path.empty() || existing != nullptr) {
    if ((access & kWriteRights) != 0 && !standin::registry::StoreWritable(parent->root)) {
      return ERROR_ACCESS_DENIED;
    }
    *result = AddHandle(OpenKey{parent->root, existing ? existing->path : path,
                                existing ? existing->id : 0, access});
    if (disposition != nullptr) *disposition = REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  }

  // Otherwise it is made under the root's lock, where another process may
  // have made it, or deleted its parent, since the look above.
  OpenKey made{parent->root, {}, 0, access};
  bool created = false;
  const LSTATUS status =
      standin::registry::ChangeStore(parent->root, [&](Store& current, bool& modified) {
        if (!KeyAlive(current, parent->path, parent->id)) return ERROR_KEY_DELETED;
        const Key& key = CreateKeyPath(current, path, created);
        made.path = key.path;
        made.id = key.id;
        modified = created;
        return ERROR_SUCCESS;
      });
  if (status != ERROR_SUCCESS) return status;
  *result = AddHandle(std::move(made));
  if (disposition != nullptr)
    *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                         uint8_t* data, DWORD* dataSize) {
  if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  const std::optional<OpenKey> open = Resolve(key);
  if (!open) return ERROR_INVALID_HANDLE;
  if ((open->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;

  const Store store = standin::registry::LoadStore(open->root);
  if (!KeyAlive(store, open->path, open->id)) return ERROR_KEY_DELETED;
  const Key* found = FindKey(store, open->path);
  const standin::registry::Value* value =
      found ? FindValue(*found, valueName ? valueName : u"") : nullptr;
  // A missing value leaves every out-parameter as it was.
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;

  // Type and size are reported even when the data does not fit; the data is
  // then left untouched. Without a data buffer the size is reported alone.
  if (type != nullptr) *type = value->type;
  const auto size = static_cast<DWORD>(value->data.size());
  if (data != nullptr) {
    if (size > *dataSize) {
      *dataSize = size;
      return ERROR_MORE_DATA;
    }
    if (size > 0) std::memcpy(data, value->data.data(), size);
  }
  if (dataSize != nullptr) *dataSize = size;
  return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY key, const char16_t* valueName, DWORD /*reserved*/, DWORD type,
                       const uint8_t* data, DWORD dataSize) {
  if (data == nullptr && dataSize != 0) return ERROR_NOACCESS;
  const std::optional<OpenKey> open = Resolve(key);
  if (!open) return ERROR_INVALID_HANDLE;
  if ((open->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const std::u16string_view name = valueName ? valueName : u"";
  if (name.size() > standin::registry::kMaxValueNameLength) return ERROR_INVALID_PARAMETER;

  return standin::registry::ChangeStore(open->root, [&](Store& store, bool& modified) {
    if (!KeyAlive(store, open->path, open->id)) return ERROR_KEY_DELETED;
    Key* target = FindKey(store, open->path);
    if (target == nullptr) {
      // Only the root can be alive without an entry of its own.
      store.keys.push_back(Key{u"", 0, {}});
      target = &store.keys.back();
    }
    standin::registry::Value* value = FindValue(*target, name);
    if (value == nullptr) {
      target->values.push_back(standin::registry::Value{std::u16string(name), 0, {}});
      value = &target->values.back();
    }
    value->type = type;
    value->data.assign(data, data + dataSize);
    modified = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegCloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  std::lock_guard<std::mutex> guard(handlesMutex);
  return openKeys.erase(reinterpret_cast<uintptr_t>(key)) != 0 ? ERROR_SUCCESS
                                                               : ERROR_INVALID_HANDLE;
}

// With a subkey, removes that key and all below it; without one, empties the
// key itself of values and subkeys but keeps it.
LSTATUS RegDeleteTreeW(HKEY key, const char16_t* subKey) {
  const std::optional<OpenKey> open = Resolve(key);
  if (!open) return ERROR_INVALID_HANDLE;
  std::u16string path = open->path;
  if (!AppendSubKey(path, subKey)) return ERROR_BAD_PATHNAME;
  const bool keepKey = path.size() == open->path.size();

  return standin::registry::ChangeStore(open->root, [&](Store& store, bool& modified) {
    if (!KeyAlive(store, open->path, open->id)) return ERROR_KEY_DELETED;
    Key* target = FindKey(store, path);
    if (target == nullptr && !keepKey) return ERROR_FILE_NOT_FOUND;
    if (keepKey && target != nullptr) target->values.clear();
    std::erase_if(store.keys, [&](const Key& candidate) {
      return standin::registry::IsSameOrBelow(candidate.path, path) &&
             !(keepKey && candidate.path.size() == path.size());
    });
    modified = true;
    return ERROR_SUCCESS;
  });
}

}  // namespace platform
