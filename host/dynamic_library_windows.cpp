#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "host/dynamic_library.h"

namespace host {

namespace {

std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring directory(path, length);
  const size_t slash = directory.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : directory.substr(0, slash);
}

bool IsAbsolute(const std::wstring& path) {
  return (path.size() >= 2 && path[1] == L':') ||
         (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::u16string& path,
                                                     std::u16string& error) {
  std::wstring file(path.begin(), path.end());
  if (!IsAbsolute(file)) file = ProgramDirectory() + L"\\" + file;
  HMODULE module = LoadLibraryW(file.c_str());
  if (module == nullptr) {
    const std::wstring code = std::to_wstring(GetLastError());
    error = u"cannot load (error " + std::u16string(code.begin(), code.end()) + u")";
    return nullptr;
  }
  return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(module));
}

DynamicLibrary::~DynamicLibrary() {
  FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace host
