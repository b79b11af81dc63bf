#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "host/dynamic_library.h"
#include "support/utf.h"

namespace host {

namespace {

std::string ProgramDirectory() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  std::string directory(path, static_cast<size_t>(length));
  const size_t slash = directory.rfind('/');
  return slash == std::string::npos ? "." : directory.substr(0, slash);
}

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::u16string& path,
                                                     std::u16string& error) {
  std::string file = support::ToUtf8(path);
  if (!file.empty() && file[0] != '/') file = ProgramDirectory() + "/" + file;
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = support::ToUtf16(reason != nullptr ? reason : "cannot load");
    return nullptr;
  }
  return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
  dlclose(handle_);
}

void* DynamicLibrary::Symbol(const char* name) const {
  return dlsym(handle_, name);
}

}  // namespace host
