// The native registry's files: what a person's edit, a damaged file or a
// hostile folder does to a read, that a save never loses the stored file nor
// a line a person wrote, nor touches anything planted beside it, and that
// every refusal says why.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "platform/posix/standin.h"
#include "support/registry_export.h"
#include "tests/platform/registry_fixture.h"

namespace {

using namespace platform;
using support::registry::kMaxFileSize;
using testing_support::kTestKey;
using testing_support::RegistryTest;

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n";
const std::string kSection = "\r\n[HKEY_CURRENT_USER\\Software\\MarivexTest\\Registry]\r\n";
const std::vector<uint8_t> kOne = {1, 0, 0, 0};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

mode_t Mode(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 ? status.st_mode : 0;
}

// Runs `body` in a child process that may take ten seconds at most. Gives
// its exit code, or 128 and the number of the signal that ended it.
int RunInChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(10);
    _exit(body());
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The number of a process that has ended.
pid_t EndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

class RegistryFileTest : public RegistryTest {
 protected:
  std::string File() const { return scratch.File(HKEY_CURRENT_USER); }

  // Saves a DWORD under the test key of HKCU, as the plug-in saves its setting.
  static LSTATUS Save(const char16_t* name, uint32_t value) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0,
                                     KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) status = SetDword(key, name, value);
    RegCloseKey(key);
    return status;
  }

  // Points HKCU at a file of a folder of its own, for one row of a table.
  std::string UseFolder(const std::string& name, const std::string& store = "HKCU.reg") {
    const std::filesystem::path folder = scratch.Folder() / name;
    std::filesystem::create_directories(folder);
    standin::SetRegistryFile(HKEY_CURRENT_USER, folder / store);
    return folder / store;
  }
};

// Each row's lines stand between two good values, which must read as ever.
TEST_F(RegistryFileTest, ALineThatCannotBeReadCostsThatLineOnly) {
  const std::string kOtherRoot = "[HKEY_LOCAL_MACHINE\\Software\\MarivexTest\\Registry]\r\n";
  const std::string kHotkey = "\"Hotkey\"=dword:00000001\r\n";
  const struct {
    const char* what;
    std::string lines;
    std::optional<std::vector<uint8_t>> hotkey;
  } kRows[] = {
      // What a person or the registry editor may write.
      {"upper-case digits", "\"Hotkey\"=dword:0005001A", {{0x1A, 0, 5, 0}}},
      {"fewer digits and blanks", "\"HOTKEY\" = dword: 1 ", kOne},
      {"a line ending in LF alone", "\"Hotkey\"=dword:00000001\n", kOne},
      {"the root in another case",
       "[hkey_current_user\\SOFTWARE\\marivextest\\REGISTRY]\r\n" + kHotkey, kOne},
      {"the same value twice", "\"Hotkey\"=dword:2\r\n" + kHotkey, kOne},
      {"the registry editor's wrapped bytes", "\"Hotkey\"=hex(4):01,00,\\\r\n  00,00", kOne},
      {"a comment that ends in a backslash", "; C:\\\r\n" + kHotkey, kOne},
      // What is skipped.
      {"not a line of a value", "garbage\r\n", {}},
      {"a comment", "; " + kHotkey, {}},
      {"a DWORD of nine digits", "\"Hotkey\"=dword:000000001", {}},
      {"a DWORD that is no number", "\"Hotkey\"=dword:0x1", {}},
      {"a byte that is no number", "\"Hotkey\"=hex(4):01,00,00,zz", {}},
      {"an empty byte", "\"Hotkey\"=hex(4):01,,00,00,00", {}},
      {"a type that is no number", "\"Hotkey\"=hex(x):01,00,00,00", {}},
      {"an unknown kind of data", "\"Hotkey\"=qword:01", {}},
      {"a text without its end", "\"Hotkey\"=\"text", {}},
      {"an unknown escape", "\"Hotkey\"=\"a\\n\"", {}},
      {"a name without its end", "\"Hotkey=dword:00000001", {}},
      {"a value to delete", "\"Hotkey\"=-", {}},
      {"another root's section", kOtherRoot + kHotkey, {}},
      {"a section to delete", "[-" + kOtherRoot.substr(1) + kHotkey, {}},
      {"an empty name in a path", "[HKEY_CURRENT_USER\\Software\\\\MarivexTest]\r\n" + kHotkey, {}},
      {"a wrapped value without its end", "\"Hotkey\"=hex(4):01,00,\\", {}},
      {"a wrapped value cut short by a section",
       "\"Hotkey\"=hex(4):01,\\\r\n" + kOtherRoot + kHotkey,
       {}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    const std::string text = kHeader + kSection + "\"Before\"=dword:00000001\r\n" + row.lines +
                             "\r\n" + kSection + "\"After\"=dword:00000002\r\n";
    WriteFile(File(), text);
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), row.hotkey);
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Before"), kOne);
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"After"), (std::vector<uint8_t>{2, 0, 0, 0}));
    // A save adds its value and keeps every line as it stood, line ends aside.
    ASSERT_EQ(Save(u"New", 3), ERROR_SUCCESS);
    std::string crLf;
    for (const char c : text)
      crLf += c == '\n' && !crLf.ends_with('\r') ? "\r\n" : std::string(1, c);
    EXPECT_EQ(ReadFile(File()), crLf + "\"New\"=dword:00000003\r\n");
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), row.hotkey);
  }
}

TEST_F(RegistryFileTest, FileThatIsNoExportReadsEmptyAndIsKeptAside) {
  const std::string kHotkey = kSection + "\"Hotkey\"=dword:00000002\r\n";
  const struct {
    const char* what;
    std::string text;
  } kRows[] = {
      {"text", "not a registry export\n"},
      {"the binary store of earlier versions",
       std::string("MarivexRegistry\n\1\0\0\0\xC5\x1B", 22)},
      {"a damaged header", "Windows Registry Editor Version 5.0\r\n" + kHotkey},
      {"past the size limit", kHeader + kHotkey + std::string(4 << 20, ';')},
      {"an empty file", ""},
  };
  for (size_t i = 0; i < std::size(kRows); ++i) {
    SCOPED_TRACE(kRows[i].what);
    WriteFile(File(), kRows[i].text);
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), std::nullopt);
    ASSERT_EQ(Save(u"Hotkey", 1), ERROR_SUCCESS);
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), kOne);
  }
  // Each is kept under a name of its own; none replaces an earlier one.
  for (size_t i = 0; i < std::size(kRows); ++i) {
    SCOPED_TRACE(kRows[i].what);
    EXPECT_EQ(ReadFile(File() + ".unreadable-" + std::to_string(i + 1)), kRows[i].text);
  }
}

TEST_F(RegistryFileTest, SymbolicLinksAtTheWritersNamesAreNeverFollowed) {
  const std::string victim = scratch.Folder() / "victim";
  const std::string pid = std::to_string(getpid());
  const struct {
    const char* what;
    std::string stored;
    std::vector<std::string> links;
    LSTATUS status;
  } kRows[] = {
      {"the store's name", kHeader, {"HKCU.reg"}, ERROR_REGISTRY_IO_FAILED},
      {"the temporary names",
       kHeader,
       {".marivex-" + pid + "-0.tmp", ".marivex-" + pid + "-1.tmp"},
       0},
      {"the name a damaged store is kept under", "damaged", {"HKCU.reg.unreadable-1"}, 0},
  };
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const auto& row = kRows[i];
    SCOPED_TRACE(row.what);
    WriteFile(victim, "victim");
    chmod(victim.c_str(), 0640);
    const std::string file = UseFolder("row" + std::to_string(i));
    const std::string folder = std::filesystem::path(file).parent_path();
    WriteFile(file, row.stored);
    for (const std::string& link : row.links) {
      std::filesystem::remove(folder + "/" + link);
      ASSERT_EQ(symlink(victim.c_str(), (folder + "/" + link).c_str()), 0);
    }

    EXPECT_EQ(Save(u"Hotkey", 1), row.status);
    EXPECT_EQ(ReadFile(victim), "victim");
    EXPECT_EQ(Mode(victim) & 07777, 0640u);
    for (const std::string& link : row.links) EXPECT_TRUE(S_ISLNK(Mode(folder + "/" + link)));
  }
}

// Each store is refused with Windows' result for a registry file it cannot
// use, and one line on standard error that names the path and says why; what
// is there is left as it was, and neither a read nor a save waits on it.
TEST_F(RegistryFileTest, EveryRefusalSaysWhyAndNamesThePath) {
  const std::string kStored = kHeader + kSection + "\"Hotkey\"=dword:00000001\r\n";
  const std::string kFull = kHeader + kSection + ";" +
                            std::string(kMaxFileSize - kHeader.size() - kSection.size() - 3, '-') +
                            "\r\n";
  const struct {
    const char* what;
    const char* store;  // in the row's folder
    std::function<int(const std::string& path)> make;
    const char* refused;  // what the message names, in the row's folder
    const char* why;
  } kRows[] = {
      {"a symbolic link", "HKCU.reg",
       [&](const std::string& path) {
         WriteFile(path + ".target", kStored);
         return symlink("HKCU.reg.target", path.c_str());
       },
       "HKCU.reg", " is a symbolic link;"},
      {"a FIFO", "HKCU.reg", [](const std::string& path) { return mkfifo(path.c_str(), 0600); },
       "HKCU.reg", " is a FIFO;"},
      {"a folder", "HKCU.reg", [](const std::string& path) { return mkdir(path.c_str(), 0700); },
       "HKCU.reg", " is a folder;"},
      {"a state folder that is a file", "state/HKCU.reg",
       [](const std::string& path) {
         WriteFile(std::filesystem::path(path).parent_path(), "");
         return 0;
       },
       "state", " is not a folder;"},
      {"a path that ends in /", "HKCU.reg/", [](const std::string&) { return 0; }, "HKCU.reg/",
       " names a folder, not a file;"},
      {"a save that would pass 4 MiB", "HKCU.reg",
       [&](const std::string& path) {
         WriteFile(path, kFull);
         return 0;
       },
       "HKCU.reg", " would pass 4 MiB;"},
  };
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const auto& row = kRows[i];
    SCOPED_TRACE(row.what);
    const std::string store = UseFolder("row" + std::to_string(i), row.store);
    const std::string folder = scratch.Folder() / ("row" + std::to_string(i));
    ASSERT_EQ(row.make(store), 0);
    const mode_t made = Mode(store);
    const auto contents = [&] { return S_ISREG(made) || S_ISLNK(made) ? ReadFile(store) : ""; };
    const std::string before = contents();

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunInChild([] {
                if (QueryTestKey(HKEY_CURRENT_USER, u"Hotkey")) return 1;
                return Save(u"Hotkey", 2) == ERROR_REGISTRY_IO_FAILED ? 0 : 2;
              }),
              0);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(messages.ends_with(".\n")) << messages;
    std::istringstream lines(messages);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_TRUE(line.starts_with(folder + "/" + row.refused + row.why)) << line;
    }
    EXPECT_EQ(Mode(store), made) << "left as it was";
    EXPECT_TRUE(contents() == before) << "left as it was";
  }
}

TEST_F(RegistryFileTest, ASaveThatFailsMidwayLeavesTheOldFileWhole) {
  ASSERT_EQ(Save(u"Hotkey", 1), ERROR_SUCCESS);
  const std::string before = ReadFile(File());
  // The new file is larger than the old one. A write that crosses the file
  // size limit is cut short; one that starts at it kills the writer.
  const struct {
    const char* what;
    rlim_t limit;
    int result;
  } kRows[] = {
      {"a short write: the save reports a full disk", before.size(), 0},
      {"the writer is killed", 0, 128 + SIGXFSZ},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    const int result = RunInChild([&] {
      const rlimit noCore{0, 0};
      const rlimit fileSize{row.limit, row.limit};
      setrlimit(RLIMIT_CORE, &noCore);
      setrlimit(RLIMIT_FSIZE, &fileSize);
      signal(SIGXFSZ, SIG_DFL);
      HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
      return Set(key, u"Large", REG_BINARY, std::vector<uint8_t>(4096, 0xAB)) == ERROR_DISK_FULL
                 ? 0
                 : 1;
    });
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(ReadFile(File()), before);
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), kOne);
    if (row.result == 0) {
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Folder()), {}), 1)
          << "the temporary file is gone";
    }
  }
  // The next save removes what the killed one left behind.
  ASSERT_EQ(Save(u"Hotkey", 1), ERROR_SUCCESS);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Folder()), {}), 1);
}

// Only a save's temporary file whose process has ended and that is the
// user's own is removed; a running save's, another account's and a link
// stay.
TEST_F(RegistryFileTest, ASaveRemovesOnlyTheUsersLeftoversOfEndedSaves) {
  const std::string ended = std::to_string(EndedProcess());
  const bool superuser = geteuid() == 0;
  const struct {
    const char* what;
    std::string name;
    bool link;
    uid_t owner;
    bool kept;
  } kRows[] = {
      {"an ended save's", ".marivex-" + ended + "-0.tmp", false, geteuid(), false},
      {"a running save's", ".marivex-1-0.tmp", false, geteuid(), true},
      {"a link", ".marivex-" + ended + "-1.tmp", true, geteuid(), true},
      {"another account's", ".marivex-" + ended + "-2.tmp", false, superuser ? 65534u : geteuid(),
       superuser},
      {"another file", ".marivex-" + ended + ".tmp", false, geteuid(), true},
  };
  for (const auto& row : kRows) {
    const std::string path = scratch.Folder() / row.name;
    if (row.link) {
      ASSERT_EQ(symlink("HKCU.reg", path.c_str()), 0);
    } else {
      WriteFile(path, "leftover");
    }
    ASSERT_EQ(lchown(path.c_str(), row.owner, static_cast<gid_t>(-1)), 0);
  }
  ASSERT_EQ(Save(u"Hotkey", 1), ERROR_SUCCESS);
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Mode(scratch.Folder() / row.name) != 0, row.kept);
  }
}

// A store of another account is neither read nor replaced, whoever may
// write the folder; the user's own and the superuser's are. Every save
// leaves the file without write permission for the group or others.
TEST_F(RegistryFileTest, AnotherAccountsStoreIsNotTrusted) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a file to other accounts takes the superuser";
  constexpr uid_t kUser = 65534;
  constexpr uid_t kOther = 65533;
  const std::string kStored = kHeader + kSection + "\"Hotkey\"=dword:00000001\r\n";
  const struct {
    const char* what;
    uid_t owner;
    bool trusted;
  } kRows[] = {
      {"the user's own", kUser, true},
      {"the superuser's, as the machine's is", 0, true},
      {"another account's", kOther, false},
  };
  chmod(scratch.Folder().c_str(), 0777);  // a folder that others may write
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    WriteFile(File(), kStored);
    ASSERT_EQ(chown(File().c_str(), row.owner, row.owner), 0);
    chmod(File().c_str(), 0666);
    testing::internal::CaptureStderr();
    const int result = RunInChild([] {
      if (seteuid(kUser) != 0) return 9;
      return (QueryTestKey(HKEY_CURRENT_USER, u"Hotkey") ? 1 : 0) +
             (Save(u"Hotkey", 2) == ERROR_SUCCESS ? 2 : 0);
    });
    const std::string messages = testing::internal::GetCapturedStderr();
    struct stat status;
    ASSERT_EQ(stat(File().c_str(), &status), 0);
    if (row.trusted) {
      EXPECT_EQ(result, 3);
      EXPECT_EQ(messages, "");
      EXPECT_EQ(status.st_uid, kUser);
      EXPECT_EQ(status.st_mode & 07777, 0644u);
    } else {
      EXPECT_EQ(result, 0);
      const std::string line =
          File() + " belongs to another account; it is neither read nor replaced.\n";
      EXPECT_EQ(messages, line + line) << "the read and the save";
      EXPECT_EQ(status.st_uid, kOther);
      EXPECT_EQ(ReadFile(File()), kStored);
    }
  }
}

// A store's name may have as many characters as the file system allows: the
// name a file that is no export is kept under is cut to fit.
TEST_F(RegistryFileTest, AStoreNameAtTheFileNameLimitSaves) {
  const struct {
    size_t length;
    size_t keptLength;  // of the store's name within the kept name
  } kRows[] = {
      {242, 242},  // the kept name exactly fits
      {243, 242},  // one over
      {255, 242},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.length);
    const std::string name = std::string(row.length - 4, 'n') + ".reg";
    const std::filesystem::path folder =
        std::filesystem::path(UseFolder(std::to_string(row.length), name)).parent_path();
    WriteFile(folder / name, "damaged");
    ASSERT_EQ(Save(u"Hotkey", 1), ERROR_SUCCESS);
    ASSERT_EQ(Save(u"Hotkey", 2), ERROR_SUCCESS) << "a store that exists";
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(ReadFile(folder / (name.substr(0, row.keptLength) + ".unreadable-1")), "damaged");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
  }
}

TEST_F(RegistryFileTest, NewFilesAndFoldersGetWindowsPermissions) {
  const mode_t umaskBefore = umask(077);
  static const struct {
    const char* what;
    HKEY root;
    const char* file;
    mode_t fileMode;
    mode_t folderMode;
  } kRows[] = {
      {"the user's, for the owner alone", HKEY_CURRENT_USER, "home/state/marivex/HKCU.reg", 0600,
       0700},
      {"the machine's, readable by everyone", HKEY_LOCAL_MACHINE, "var/marivex/HKLM.reg", 0644,
       0755},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    const std::filesystem::path file = scratch.Folder() / row.file;
    standin::SetRegistryFile(row.root, file);
    HKEY key = Create(row.root, kTestKey);
    ASSERT_EQ(SetDword(key, u"Hotkey", 1), ERROR_SUCCESS);
    EXPECT_EQ(Mode(file) & 07777, row.fileMode);
    EXPECT_EQ(Mode(file.parent_path()) & 07777, row.folderMode);
    // A later save keeps the file's permissions, but never setuid, setgid, or
    // write permission for the group or others.
    chmod(file.c_str(), S_ISUID | S_ISGID | 0662);
    ASSERT_EQ(SetDword(key, u"Hotkey", 2), ERROR_SUCCESS);
    EXPECT_EQ(Mode(file) & 07777, 0640u);
    RegCloseKey(key);
  }
  umask(umaskBefore);
}

TEST_F(RegistryFileTest, ReadOnlyFileRefusesChangesButReads) {
  HKEY before = Create(HKEY_LOCAL_MACHINE, kTestKey);
  ASSERT_EQ(SetDword(before, u"Hotkey", 1), ERROR_SUCCESS);
  chmod(scratch.File(HKEY_LOCAL_MACHINE).c_str(), 0444);
  HKEY key = HKEY_LOCAL_MACHINE;
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(SetDword(before, u"Hotkey", 2), ERROR_ACCESS_DENIED) << "handle opened before";
  EXPECT_EQ(QueryTestKey(HKEY_LOCAL_MACHINE, u"Hotkey"), kOne);
  EXPECT_EQ(Save(u"Hotkey", 3), ERROR_SUCCESS) << "the other root takes changes";
  RegCloseKey(before);
}

TEST_F(RegistryFileTest, FilesLocatedByEnvironment) {
  const char* const kVariables[] = {"MARIVEX_REGISTRY_HKCU", "XDG_STATE_HOME", "HOME",
                                    "MARIVEX_REGISTRY_HKLM"};
  static const struct {
    const char* values[4];  // as kVariables, null for unset
    const char* hkcuFile;
  } kRows[] = {
      {{"/a/user.reg", "/state", "/home/u", "/b/machine.reg"}, "/a/user.reg"},
      {{nullptr, "/state", "/home/u", nullptr}, "/state/marivex/HKCU.reg"},
      {{"", "state", "/home/u", ""}, "/home/u/.local/state/marivex/HKCU.reg"},
      {{nullptr, nullptr, nullptr, nullptr}, ""},
  };
  std::vector<std::optional<std::string>> saved;
  for (const char* variable : kVariables) {
    saved.push_back(getenv(variable) ? std::optional<std::string>(getenv(variable)) : std::nullopt);
  }
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) standin::SetRegistryFile(root, "");
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.hkcuFile);
    for (size_t i = 0; i < std::size(kVariables); ++i) {
      row.values[i] ? setenv(kVariables[i], row.values[i], 1) : unsetenv(kVariables[i]);
    }
    EXPECT_EQ(standin::RegistryFile(HKEY_CURRENT_USER), row.hkcuFile);
    EXPECT_EQ(standin::RegistryFile(HKEY_LOCAL_MACHINE),
              row.values[3] && row.values[3][0] ? row.values[3] : "/var/lib/marivex/HKLM.reg");
  }
  standin::SetRegistryFile(HKEY_CURRENT_USER, "/chosen");
  EXPECT_EQ(standin::RegistryFile(HKEY_CURRENT_USER), "/chosen") << "a chosen file wins";
  for (size_t i = 0; i < std::size(kVariables); ++i) {
    saved[i] ? setenv(kVariables[i], saved[i]->c_str(), 1) : unsetenv(kVariables[i]);
  }
}

}  // namespace
