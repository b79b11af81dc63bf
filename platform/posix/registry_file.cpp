// The native registry's files, a registry export each: where each root
// lives, and how its file is read and replaced, safely even in a folder that
// other accounts may write.
//
// Every step works relative to the store's folder, opened once. A save
// writes a new file under a fresh name, created exclusively so that nothing
// planted there (a symbolic link above all) is opened, flushes it, renames
// it over the store and flushes the folder: a save interrupted at any point
// leaves the old file whole, and the next save removes what it left behind.
// Anything at the store's name but a regular file of the user's own (or the
// superuser's) is neither read nor replaced, opening it never blocks, and
// standard error says why. Two saving at once each write the whole file.
#include "platform/posix/registry_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "platform/posix/standin.h"
#include "platform/posix/win32_extras.h"

namespace standin::registry {

namespace {

using platform::LSTATUS;
using support::registry::kMaxFileSize;

constexpr std::string_view kTemporary = ".marivex-";  // a save's new file: ".marivex-PID-N.tmp"

struct RootSettings {
  std::string file;
  bool readOnly = false;
};
std::array<RootSettings, 2> settings;

RootSettings& SettingsOf(Root root) {
  return settings[root == Root::CurrentUser ? 0 : 1];
}

const char* RootName(Root root) {
  return root == Root::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// Closes its file descriptor at the end of its scope; never copied.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

// A file chosen by a test wins; then the environment; then the user's state
// folder, or for the machine's root a system folder that an ordinary user may
// read but not change, as on Windows.
std::string StoreFile(Root root) {
  const bool user = root == Root::CurrentUser;
  const char* chosen = std::getenv(user ? "MARIVEX_REGISTRY_HKCU" : "MARIVEX_REGISTRY_HKLM");
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  if (!SettingsOf(root).file.empty()) return SettingsOf(root).file;
  if (chosen != nullptr && chosen[0] != '\0') return chosen;
  if (!user) return "/var/lib/marivex/HKLM.reg";
  if (state != nullptr && state[0] == '/') return std::string(state) + "/marivex/HKCU.reg";
  if (home != nullptr && home[0] == '/')
    return std::string(home) + "/.local/state/marivex/HKCU.reg";
  return "";
}

LSTATUS StatusFromErrno(int error) {
  if (error == EACCES || error == EPERM || error == EROFS) return platform::ERROR_ACCESS_DENIED;
  if (error == ENOSPC || error == EDQUOT || error == EFBIG) return platform::ERROR_DISK_FULL;
  return platform::ERROR_REGISTRY_IO_FAILED;
}

// Says on standard error, in one line, why the registry leaves `path` alone
// and what follows. Gives EINVAL, for which the call fails as Windows fails
// for a registry file it cannot use.
int Refuse(const std::string& path, const char* why,
           const char* outcome = "it is neither read nor replaced") {
  std::fprintf(stderr, "%s %s; %s.\n", path.c_str(), why, outcome);
  return EINVAL;
}

struct FileContents {
  int error = 0;  // ENOENT for a file that is missing
  bool isExport = false;
  Store store;
  mode_t mode = 0;  // the permissions, never a setuid or setgid bit
};

// Reads the store's file in its folder. A symbolic link, a FIFO or a device
// there is not followed, not waited on, and refused, as is a file of another
// account: in a folder that others may write, they could have put it there.
FileContents ReadStoreFile(int folder, const std::filesystem::path& path, Root root) {
  const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  const Descriptor file{openat(folder, path.filename().c_str(), flags)};
  struct stat status {};
  if (file.fd < 0 && errno != ELOOP && errno != ENXIO) return {errno, false, {}, 0};
  if (file.fd >= 0 && fstat(file.fd, &status) != 0) return {errno, false, {}, 0};
  const char* refused = file.fd < 0 && errno == ELOOP ? "is a symbolic link"
                        : S_ISDIR(status.st_mode)     ? "is a folder"
                        : S_ISFIFO(status.st_mode)    ? "is a FIFO"
                        : !S_ISREG(status.st_mode)    ? "is not a regular file"
                        : status.st_uid != geteuid() && status.st_uid != 0
                            ? "belongs to another account"
                            : nullptr;
  if (refused != nullptr) return {Refuse(path, refused), false, {}, 0};
  // One byte more than the largest store is enough to refuse a longer file.
  std::string text(std::min<size_t>(status.st_size, kMaxFileSize) + 1, '\0');
  const ssize_t length = read(file.fd, text.data(), text.size());
  if (length < 0) return {errno, false, {}, 0};
  text.resize(static_cast<size_t>(length));
  std::optional<Store> store = support::registry::ParseExport(text, RootName(root));
  return {0, store.has_value(), std::move(store).value_or(Store{}), status.st_mode & 0777};
}

// Keeps a file that is not a registry export under the first free name
// "<name>.unreadable-N", the name cut to fit: a hard link is made only where
// nothing is, so it replaces no earlier copy and nothing planted there.
bool KeepAside(int folder, const std::string& path, const std::string& name) {
  for (int number = 1; number <= 1000; ++number) {
    const std::string suffix = ".unreadable-" + std::to_string(number);
    const std::string kept = name.substr(0, NAME_MAX - suffix.size()) + suffix;
    if (linkat(folder, name.c_str(), folder, kept.c_str(), 0) == 0) {
      std::fprintf(stderr, "%s is not a registry export; it is kept as %s.\n", path.c_str(),
                   kept.c_str());
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

// Removes the new files of saves killed midway: the user's own regular
// files under a save's name whose process no longer runs.
void RemoveLeftovers(int folder) {
  DIR* const entries = fdopendir(dup(folder));  // which closes the copy
  for (const dirent* entry; entries != nullptr && (entry = readdir(entries)) != nullptr;) {
    const std::string_view name = entry->d_name;
    int pid = 0;
    const auto [end, error] = std::from_chars(
        name.data() + std::min(name.size(), kTemporary.size()), name.data() + name.size(), pid);
    struct stat status;
    if (name.starts_with(kTemporary) && name.ends_with(".tmp") && error == std::errc() &&
        *end == '-' && pid > 0 && kill(pid, 0) != 0 && errno == ESRCH &&
        fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode) && status.st_uid == geteuid()) {
      unlinkat(folder, entry->d_name, 0);
    }
  }
  if (entries != nullptr) closedir(entries);
}

// Writes a new file beside the store under a name nothing holds (O_EXCL
// refuses every name that exists, a symbolic link included) and renames it
// over the store. A short write fails the save, as a full disk does. The
// file never gets write permission for the group or others.
LSTATUS ReplaceStoreFile(int folder, const std::string& name, const std::string& text,
                         mode_t mode) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  std::string temporary;
  Descriptor file{-1};
  RemoveLeftovers(folder);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary =
        std::string(kTemporary) + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
    file.fd = openat(folder, temporary.c_str(), flags, 0600);
    if (file.fd >= 0 || errno != EEXIST) break;
  }
  if (file.fd < 0) return StatusFromErrno(errno);
  const ssize_t written = write(file.fd, text.data(), text.size());
  if (written >= 0 && static_cast<size_t>(written) < text.size()) errno = ENOSPC;
  if (static_cast<size_t>(written) != text.size() || fchmod(file.fd, mode & 0755) != 0 ||
      fsync(file.fd) != 0 || close(std::exchange(file.fd, -1)) != 0 ||
      renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
    const int error = errno;
    unlinkat(folder, temporary.c_str(), 0);
    return StatusFromErrno(error);
  }
  fsync(folder);
  return platform::ERROR_SUCCESS;
}

}  // namespace

std::optional<Root> RootOf(platform::HKEY key) {
  if (key == platform::HKEY_CURRENT_USER) return Root::CurrentUser;
  if (key == platform::HKEY_LOCAL_MACHINE) return Root::LocalMachine;
  return std::nullopt;
}

// A store that cannot be found, in a folder that cannot be opened or under a
// path that names no file, reads as empty without a word.
Store LoadStore(Root root) {
  const std::filesystem::path path = std::filesystem::path(".") / StoreFile(root);
  const Descriptor folder{open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  return folder.fd < 0 ? Store{} : ReadStoreFile(folder.fd, path, root).store;
}

// A root refuses changes when a test says so, when it has no file, or when
// its file carries no write permission (refused even to the superuser, like
// Windows' read-only attribute). A new folder or file is the user's alone,
// or for the machine's root readable by everyone, whatever the umask.
LSTATUS ChangeStore(Root root, const StoreChange& change) {
  const mode_t mode = root == Root::CurrentUser ? 0700 : 0755;
  if (SettingsOf(root).readOnly || StoreFile(root).empty()) return platform::ERROR_ACCESS_DENIED;
  const std::filesystem::path path = std::filesystem::path(".") / StoreFile(root);
  if (path.filename().empty()) return StatusFromErrno(Refuse(path, "names a folder, not a file"));
  std::error_code error;
  const bool made = std::filesystem::create_directories(path.parent_path(), error);
  // A folder just made is not followed if something has replaced it by a link.
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (made ? O_NOFOLLOW : 0);
  const Descriptor folder{open(path.parent_path().c_str(), flags)};
  const int failure = error ? error.value() : errno;
  if (folder.fd < 0 && (failure == ENOTDIR || failure == EEXIST))
    return StatusFromErrno(Refuse(path.parent_path(), "is not a folder"));
  if (folder.fd < 0) return StatusFromErrno(failure);
  if (made) fchmod(folder.fd, mode);
  FileContents file = ReadStoreFile(folder.fd, path, root);
  if (file.error == ENOENT) file = {0, true, {}, mode & 0666};
  if (file.error != 0) return StatusFromErrno(file.error);
  if ((file.mode & 0222) == 0) return platform::ERROR_ACCESS_DENIED;
  bool modified = false;
  const LSTATUS status = change(file.store, modified);
  if (status != platform::ERROR_SUCCESS || !modified) return status;
  const std::string text = support::registry::WriteExport(file.store, RootName(root));
  if (text.size() > kMaxFileSize)
    return StatusFromErrno(Refuse(path, "would pass 4 MiB", "it is left as it was"));
  if (!file.isExport && !KeepAside(folder.fd, path, path.filename())) return StatusFromErrno(errno);
  return ReplaceStoreFile(folder.fd, path.filename(), text, file.mode);
}

}  // namespace standin::registry

namespace standin {

void SetRegistryFile(platform::HKEY root, std::string path) {
  if (const auto known = registry::RootOf(root))
    registry::SettingsOf(*known).file = std::move(path);
}

std::string RegistryFile(platform::HKEY root) {
  const auto known = registry::RootOf(root);
  return known ? registry::StoreFile(*known) : std::string();
}

void SetRegistryReadOnly(platform::HKEY root, bool readOnly) {
  if (const auto known = registry::RootOf(root)) registry::SettingsOf(*known).readOnly = readOnly;
}

}  // namespace standin
