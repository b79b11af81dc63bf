// Stand-in for the registry calls, with the results and out-parameters that
// Windows gives for the calls the plug-in makes. HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE are a file each (registry_file.cpp). A handle is a root
// and a key's path; every call reads the root's file as it is at that moment,
// so a value another process saved meanwhile is seen at once.
#include <algorithm>

#include "platform/posix/registry_file.h"
#include "platform/posix/win32_extras.h"
#include "support/utf.h"

namespace {

using namespace platform;
using standin::registry::Store;
using support::registry::Folded;

struct OpenKey {
  standin::registry::Root root;
  std::u16string path;
};
std::map<uintptr_t, OpenKey> openKeys;
uintptr_t lastHandle = 0x1000;  // handles are multiples of four, as Windows' are

// The key a handle stands for, with a subkey's names appended. Empty names,
// from a trailing or doubled backslash, are skipped as Windows skips them.
LSTATUS Resolve(HKEY key, const char16_t* subKey, OpenKey& open) {
  const auto found = openKeys.find(reinterpret_cast<uintptr_t>(key));
  if (const auto root = standin::registry::RootOf(key)) {
    open = OpenKey{*root, u""};
  } else if (found != openKeys.end()) {
    open = found->second;
  } else {
    return ERROR_INVALID_HANDLE;
  }
  std::u16string_view rest = subKey != nullptr ? subKey : u"";
  if (rest.starts_with(u'\\')) return ERROR_BAD_PATHNAME;
  for (size_t end = 0; !rest.empty(); rest.remove_prefix(std::min(end + 1, rest.size()))) {
    end = std::min(rest.find(u'\\'), rest.size());
    if (end > 0) open.path.append(open.path.empty() ? u"" : u"\\").append(rest.substr(0, end));
  }
  return ERROR_SUCCESS;
}

HKEY AddHandle(OpenKey open) {
  openKeys.emplace(lastHandle += 4, std::move(open));
  return reinterpret_cast<HKEY>(lastHandle);
}

// A key exists when it has an entry or lies above one.
bool KeyExists(const Store& store, std::u16string_view path) {
  const std::u16string below = Folded(path) + u'\\';
  const auto next = store.keys.lower_bound(below);
  return path.empty() || store.keys.contains(Folded(path)) ||
         (next != store.keys.end() && next->first.starts_with(below));
}

// A name the file can hold: one line of text, no half of a surrogate pair alone.
bool Storable(std::u16string_view name) {
  return name.find(u'\n') == name.npos && support::ToUtf16(support::ToUtf8(name)) == name;
}

}  // namespace

namespace platform {

LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD /*options*/, REGSAM /*desired*/,
                      HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  OpenKey open;
  if (const LSTATUS status = Resolve(key, subKey, open); status != ERROR_SUCCESS) return status;
  if (open.path.empty()) {  // a root opened as itself gives back its own handle
    *result = key;
    return ERROR_SUCCESS;
  }
  if (!KeyExists(standin::registry::LoadStore(open.root), open.path)) return ERROR_FILE_NOT_FOUND;
  *result = AddHandle(std::move(open));
  return ERROR_SUCCESS;
}

// A root that refuses changes refuses this call even for a key that exists.
LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD /*reserved*/,
                        char16_t* /*className*/, DWORD /*options*/, REGSAM /*desired*/,
                        const void* /*securityAttributes*/, HKEY* result, DWORD* disposition) {
  // Wine faults on a null result; the stand-in refuses it instead.
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  OpenKey open;
  LSTATUS status = Resolve(key, subKey, open);
  if (status == ERROR_SUCCESS && !Storable(open.path)) status = ERROR_INVALID_PARAMETER;
  bool created = false;
  if (status == ERROR_SUCCESS) {
    status = standin::registry::ChangeStore(open.root, [&](Store& store, bool& modified) {
      created = modified = !KeyExists(store, open.path);
      if (created) support::registry::AddKey(store, open.path);
      return ERROR_SUCCESS;
    });
  }
  if (status != ERROR_SUCCESS) return status;
  *result = AddHandle(std::move(open));
  if (disposition != nullptr)
    *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

// A missing value leaves every out-parameter as it was. Type and size are
// reported even when the data does not fit, which then stays untouched;
// without a data buffer the size is reported alone.
LSTATUS RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                         uint8_t* data, DWORD* dataSize) {
  OpenKey open;
  if (reserved != nullptr || (data != nullptr && dataSize == nullptr))
    return ERROR_INVALID_PARAMETER;
  if (Resolve(key, nullptr, open) != ERROR_SUCCESS) return ERROR_INVALID_HANDLE;
  const Store store = standin::registry::LoadStore(open.root);
  const auto found = store.keys.find(Folded(open.path));
  if (found == store.keys.end()) return ERROR_FILE_NOT_FOUND;
  const auto entry = found->second.values.find(Folded(valueName != nullptr ? valueName : u""));
  if (entry == found->second.values.end()) return ERROR_FILE_NOT_FOUND;
  const support::registry::Value& value = entry->second;
  const auto size = static_cast<DWORD>(value.data.size());
  if (type != nullptr) *type = value.type;
  const bool fits = data == nullptr || size <= *dataSize;
  if (data != nullptr && fits) std::copy(value.data.begin(), value.data.end(), data);
  if (dataSize != nullptr) *dataSize = size;
  return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

LSTATUS RegSetValueExW(HKEY key, const char16_t* valueName, DWORD /*reserved*/, DWORD type,
                       const uint8_t* data, DWORD dataSize) {
  constexpr size_t kMaxValueNameLength = 16383;  // as Windows accepts
  const std::u16string_view name = valueName ? valueName : u"";
  OpenKey open;
  if (data == nullptr && dataSize != 0) return ERROR_NOACCESS;
  if (Resolve(key, nullptr, open) != ERROR_SUCCESS) return ERROR_INVALID_HANDLE;
  if (name.size() > kMaxValueNameLength || !Storable(name)) return ERROR_INVALID_PARAMETER;
  return standin::registry::ChangeStore(open.root, [&](Store& store, bool& modified) {
    support::registry::AddKey(store, open.path).values[Folded(name)] = {
        std::u16string(name), type, {data, data + dataSize}};
    modified = true;
    return ERROR_SUCCESS;
  });
}

// Closing a predefined root does nothing and succeeds.
LSTATUS RegCloseKey(HKEY key) {
  const bool known =
      standin::registry::RootOf(key) || openKeys.erase(reinterpret_cast<uintptr_t>(key)) != 0;
  return known ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace platform
