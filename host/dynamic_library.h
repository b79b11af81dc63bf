// Loading a library from its file and finding its exports by name.
#pragma once

#include <memory>
#include <string>

namespace host {

class DynamicLibrary {
 public:
  // Opens the library; a relative path is taken from the directory of the
  // running program. On failure returns null and describes why in error.
  static std::unique_ptr<DynamicLibrary> Open(const std::u16string& path, std::u16string& error);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // The export of that name, or null.
  void* Symbol(const char* name) const;

 private:
  explicit DynamicLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace host
