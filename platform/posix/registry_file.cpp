// The registry stand-in's files: one per root, read whole for every query and
// replaced whole for every change.
//
// A change must never lose a stored setting, and two processes changing the
// same root at once must not lose either change. Two mechanisms share the
// work, because neither suffices alone:
//
// - The new contents go to a temporary file beside the store, are flushed to
//   disk and then renamed over the store, and the directory is flushed. A
//   rename replaces the name in one step, so a reader, or a process that is
//   killed or fails midway, finds either the old file or the new one, whole;
//   never a mixture, never nothing.
// - A change is a read-modify-write of the whole file. With renames alone, two
//   processes that read the same old contents would each write back their own
//   change, and the later rename would silently drop the earlier change (a
//   saved hotkey lost because another process created an unrelated key).
//   So every change holds an exclusive flock() on a lock file beside the store
//   from before it reads until after its rename. The lock file is never
//   replaced or removed, so all writers lock the same file; the kernel drops
//   the lock when its holder dies, so a killed writer blocks no one. Readers
//   take no lock: the rename already gives them a whole file.
//
// With the lock held, one fixed temporary name suffices; a temporary file
// left behind by a killed writer is simply overwritten by the next change.
#include "platform/posix/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace standin::registry {

namespace {

using platform::ERROR_ACCESS_DENIED;
using platform::ERROR_REGISTRY_IO_FAILED;
using platform::ERROR_SUCCESS;
using platform::LSTATUS;

constexpr LSTATUS kErrorDiskFull = 112;

struct Settings {
  std::array<std::string, 2> files;
  std::array<bool, 2> readOnly{};
  std::function<bool()> saveHook;
};

std::mutex settingsMutex;
Settings settings;

size_t Index(Root root) {
  return root == Root::CurrentUser ? 0 : 1;
}

// An open file descriptor, closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now, reporting the close's own failure (a write may surface only here).
  bool Close() {
    const int fd = std::exchange(fd_, -1);
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

// The file a root lives in when no test has chosen one: the user's root in
// the user's state directory, the machine's root in the system's state
// directory, which an ordinary user may read but not change, just as
// Windows lets only administrators change HKEY_LOCAL_MACHINE.
std::string DefaultFile(Root root) {
  if (root == Root::LocalMachine) return "/var/lib/marivex/HKLM.registry";
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/marivex/HKCU.registry";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    return std::string(home) + "/.local/state/marivex/HKCU.registry";
  }
  return {};
}

std::string Directory(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

LSTATUS StatusFromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
      return kErrorDiskFull;
    default:
      return ERROR_REGISTRY_IO_FAILED;
  }
}

// Creates the directory and any missing ancestors, as the XDG rules ask:
// readable by the user alone.
bool MakeDirectories(const std::string& directory) {
  struct stat status;
  if (stat(directory.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
  if (errno != ENOENT) return false;
  const std::string parent = Directory(directory);
  if (parent != directory && !MakeDirectories(parent)) return false;
  return mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
}

enum class FileState { Missing, Loaded, Corrupt, Unreadable };

struct StoreFileContents {
  FileState state = FileState::Missing;
  Store store;
  mode_t mode = 0;
  int error = 0;
};

StoreFileContents ReadStoreFile(const std::string& path) {
  StoreFileContents contents;
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid()) {
    contents.error = errno;
    contents.state = errno == ENOENT ? FileState::Missing : FileState::Unreadable;
    return contents;
  }
  struct stat status;
  if (fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    contents.error = EISDIR;
    contents.state = FileState::Unreadable;
    return contents;
  }
  contents.mode = status.st_mode & 07777;

  // Read at most one byte more than a store may hold: a longer file is not
  // a store, whatever its size claims.
  std::vector<uint8_t> bytes;
  std::array<uint8_t, 65536> chunk;
  while (bytes.size() <= kMaxStoreFileSize) {
    const ssize_t got = read(file.Get(), chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      contents.error = errno;
      contents.state = FileState::Unreadable;
      return contents;
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
  }

  std::optional<Store> store = ParseStore(bytes);
  contents.state = store ? FileState::Loaded : FileState::Corrupt;
  if (store) contents.store = std::move(*store);
  return contents;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + written, bytes.size() - written);
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = EIO;
    if (put <= 0) return false;
    written += static_cast<size_t>(put);
  }
  return true;
}

void SyncDirectory(const std::string& directory) {
  // Some file systems cannot flush a directory; the rename stands regardless.
  FileDescriptor handle(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.Valid()) fsync(handle.Get());
}

std::function<bool()> SaveHook() {
  std::lock_guard<std::mutex> guard(settingsMutex);
  return settings.saveHook;
}

// Writes the new contents beside the store and renames them into place.
LSTATUS ReplaceStoreFile(const std::string& path, const std::vector<uint8_t>& bytes, mode_t mode,
                         bool keepOldAsCorrupt) {
  const std::string temporary = path + ".tmp";
  FileDescriptor file(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (!file.Valid()) return StatusFromErrno(errno);
  const auto fail = [&temporary](int error) {
    unlink(temporary.c_str());
    return StatusFromErrno(error);
  };
  if (fchmod(file.Get(), mode) != 0 || !WriteAll(file.Get(), bytes) || fsync(file.Get()) != 0) {
    return fail(errno);
  }
  if (!file.Close()) return fail(errno);

  if (const std::function<bool()> hook = SaveHook(); hook && !hook()) {
    return fail(EIO);
  }
  // A corrupt store is kept aside rather than overwritten: what it held is
  // beyond our reading, not necessarily beyond anyone's.
  if (keepOldAsCorrupt && rename(path.c_str(), (path + ".corrupt").c_str()) != 0) {
    return fail(errno);
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) return fail(errno);
  SyncDirectory(Directory(path));
  return ERROR_SUCCESS;
}

}  // namespace

void SetStoreFile(Root root, std::string path) {
  std::lock_guard<std::mutex> guard(settingsMutex);
  settings.files[Index(root)] = std::move(path);
}

// A file chosen by a test wins; then the environment; then the default.
std::string StoreFile(Root root) {
  {
    std::lock_guard<std::mutex> guard(settingsMutex);
    if (!settings.files[Index(root)].empty()) return settings.files[Index(root)];
  }
  const char* variable =
      std::getenv(root == Root::CurrentUser ? "MARIVEX_REGISTRY_HKCU" : "MARIVEX_REGISTRY_HKLM");
  if (variable != nullptr && variable[0] != '\0') return variable;
  return DefaultFile(root);
}

void SetReadOnly(Root root, bool readOnly) {
  std::lock_guard<std::mutex> guard(settingsMutex);
  settings.readOnly[Index(root)] = readOnly;
}

void SetSaveHook(std::function<bool()> hook) {
  std::lock_guard<std::mutex> guard(settingsMutex);
  settings.saveHook = std::move(hook);
}

Store LoadStore(Root root) {
  const std::string path = StoreFile(root);
  if (path.empty()) return {};
  StoreFileContents contents = ReadStoreFile(path);
  return std::move(contents.store);
}

// A root refuses changes when a test says so, when it has no file, when its
// file carries no write permission at all (refused even to the superuser,
// like Windows' read-only attribute) or may not be written by this user, or
// when its directory, or the nearest ancestor that exists, takes no new files.
bool StoreWritable(Root root) {
  {
    std::lock_guard<std::mutex> guard(settingsMutex);
    if (settings.readOnly[Index(root)]) return false;
  }
  const std::string path = StoreFile(root);
  if (path.empty()) return false;
  struct stat status;
  if (stat(path.c_str(), &status) == 0) {
    if ((status.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0) return false;
  }
  std::string directory = Directory(path);
  while (stat(directory.c_str(), &status) != 0 && errno == ENOENT) {
    const std::string parent = Directory(directory);
    if (parent == directory) break;
    directory = parent;
  }
  return access(directory.c_str(), W_OK | X_OK) == 0;
}

LSTATUS ChangeStore(Root root, const StoreChange& change) {
  if (!StoreWritable(root)) return ERROR_ACCESS_DENIED;
  const std::string path = StoreFile(root);
  if (!MakeDirectories(Directory(path))) return StatusFromErrno(errno);

  FileDescriptor lock(open((path + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
  if (!lock.Valid()) return StatusFromErrno(errno);
  while (flock(lock.Get(), LOCK_EX) != 0) {
    if (errno != EINTR) return StatusFromErrno(errno);
  }

  StoreFileContents contents = ReadStoreFile(path);
  // A file that exists but cannot be read is left alone: replacing it would
  // destroy whatever it holds.
  if (contents.state == FileState::Unreadable) return StatusFromErrno(contents.error);
  if (contents.state == FileState::Missing) {
    contents.mode = root == Root::CurrentUser ? 0600 : 0644;
  }

  bool modified = false;
  const LSTATUS status = change(contents.store, modified);
  if (status != ERROR_SUCCESS || !modified) return status;

  const std::vector<uint8_t> bytes = SerializeStore(contents.store);
  if (bytes.size() > kMaxStoreFileSize) return ERROR_REGISTRY_IO_FAILED;
  return ReplaceStoreFile(path, bytes, contents.mode, contents.state == FileState::Corrupt);
}

}  // namespace standin::registry
