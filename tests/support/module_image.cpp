#include "tests/support/module_image.h"

#include <algorithm>
#include <cctype>

#include "tests/support/host_session.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <elf.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/utf.h"
#endif

namespace testing_support {

#if defined(_WIN32)

namespace {

// The module mapped as an image, sections at their addresses, but neither
// run nor bound to its imports.
class MappedPlugin {
 public:
  MappedPlugin()
      : module_(LoadLibraryExW(reinterpret_cast<const wchar_t*>(PluginFile()), nullptr,
                               LOAD_LIBRARY_AS_IMAGE_RESOURCE)),
        // The handle of a module mapped as a resource has its low bits set.
        base_(reinterpret_cast<uintptr_t>(module_) & ~uintptr_t{3}) {}
  ~MappedPlugin() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  MappedPlugin(const MappedPlugin&) = delete;
  MappedPlugin& operator=(const MappedPlugin&) = delete;

  // What lies at an address relative to the image's start.
  template <typename T>
  const T* At(DWORD rva) const {
    return reinterpret_cast<const T*>(base_ + rva);
  }
  // The start of one of the image's data directories; null for none.
  template <typename T>
  const T* Directory(int entry) const {
    if (base_ == 0) return nullptr;
    const auto* nt = At<IMAGE_NT_HEADERS64>(static_cast<DWORD>(At<IMAGE_DOS_HEADER>(0)->e_lfanew));
    const DWORD rva = nt->OptionalHeader.DataDirectory[entry].VirtualAddress;
    return rva == 0 ? nullptr : At<T>(rva);
  }

 private:
  HMODULE module_;
  uintptr_t base_;
};

}  // namespace

std::set<std::string> PluginExports() {
  const MappedPlugin image;
  std::set<std::string> names;
  const auto* exports = image.Directory<IMAGE_EXPORT_DIRECTORY>(IMAGE_DIRECTORY_ENTRY_EXPORT);
  if (exports == nullptr) return names;
  const DWORD* nameTable = image.At<DWORD>(exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.insert(image.At<char>(nameTable[i]));
  return names;
}

std::map<std::string, std::set<std::string>> PluginImports() {
  const MappedPlugin image;
  std::map<std::string, std::set<std::string>> imports;
  for (const auto* dll = image.Directory<IMAGE_IMPORT_DESCRIPTOR>(IMAGE_DIRECTORY_ENTRY_IMPORT);
       dll != nullptr && dll->Name != 0; ++dll) {
    std::string dllName = image.At<char>(dll->Name);
    std::transform(dllName.begin(), dllName.end(), dllName.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    auto& names = imports[dllName];
    const DWORD lookup = dll->OriginalFirstThunk != 0 ? dll->OriginalFirstThunk : dll->FirstThunk;
    for (const auto* thunk = image.At<IMAGE_THUNK_DATA64>(lookup); thunk->u1.AddressOfData != 0;
         ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL64(thunk->u1.Ordinal)) {
        std::string ordinal = "#";  // Built in two steps: g++ 12 warns wrongly on one.
        ordinal += std::to_string(IMAGE_ORDINAL64(thunk->u1.Ordinal));
        names.insert(ordinal);
      } else {
        names.insert(
            image.At<IMAGE_IMPORT_BY_NAME>(static_cast<DWORD>(thunk->u1.AddressOfData))->Name);
      }
    }
  }
  return imports;
}

#else

namespace {

// A structure of the file at an offset, or zeros where the file ends first.
template <typename T>
T At(const std::vector<char>& file, uint64_t offset) {
  T value{};
  if (offset <= file.size() && file.size() - offset >= sizeof(T)) {
    std::memcpy(&value, file.data() + offset, sizeof(T));
  }
  return value;
}

}  // namespace

std::set<std::string> PluginExports() {
  const std::filesystem::path path =
      std::filesystem::canonical("/proc/self/exe").parent_path() / support::ToUtf8(PluginFile());
  std::ifstream stream(path, std::ios::binary);
  const std::vector<char> file{std::istreambuf_iterator<char>(stream), {}};
  const auto header = At<Elf64_Ehdr>(file, 0);
  const auto section = [&](uint64_t index) {
    return At<Elf64_Shdr>(file, header.e_shoff + index * header.e_shentsize);
  };
  std::set<std::string> names;
  for (uint16_t i = 0; i < header.e_shnum; ++i) {
    const Elf64_Shdr symbols = section(i);
    if (symbols.sh_type != SHT_DYNSYM || symbols.sh_entsize == 0) continue;
    const Elf64_Shdr strings = section(symbols.sh_link);
    for (uint64_t at = 0; at + symbols.sh_entsize <= symbols.sh_size; at += symbols.sh_entsize) {
      const auto symbol = At<Elf64_Sym>(file, symbols.sh_offset + at);
      const unsigned binding = ELF64_ST_BIND(symbol.st_info);
      const uint64_t name = strings.sh_offset + symbol.st_name;
      if (symbol.st_shndx == SHN_UNDEF || symbol.st_name == 0 || name >= file.size() ||
          (binding != STB_GLOBAL && binding != STB_WEAK)) {
        continue;
      }
      names.emplace(file.data() + name, strnlen(file.data() + name, file.size() - name));
    }
  }
  return names;
}

#endif

}  // namespace testing_support
