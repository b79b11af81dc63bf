// The native registry's files: where they live, roots that refuse writes,
// and that no crash, fault, corruption or second process loses a value.
#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "tests/platform/registry_fixture.h"

namespace {

using namespace platform;
using registry_testing::kTestKey;
using registry_testing::RegistryTest;
using standin::registry::Key;
using standin::registry::ParseStore;
using standin::registry::SerializeStore;
using standin::registry::Store;
using standin::registry::Value;

const std::vector<uint8_t> kOne = {1, 0, 0, 0};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Runs `body` in a child process, which exits with the body's result.
pid_t Spawn(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  return child;
}

int ExitCode(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// The value that only one writer process sets, once per save.
std::u16string OwnValueName(int writer, int save) {
  return u"Writer" + std::u16string(1, static_cast<char16_t>(u'0' + writer)) + u"-" +
         std::u16string(1, static_cast<char16_t>(u'A' + save));
}

class RegistryFileTest : public RegistryTest {
 protected:
  std::string HkcuFile() const { return directory + "/HKCU.registry"; }

  // Stores the value "Hotkey" = 1 under the test key of HKCU and returns the
  // store file's bytes.
  std::vector<uint8_t> StoreOne() {
    HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
    EXPECT_EQ(SetDword(key, u"Hotkey", 1), ERROR_SUCCESS);
    RegCloseKey(key);
    return ReadFile(HkcuFile());
  }
};

TEST_F(RegistryFileTest, ReadOnlyRootRefusesChangesButReads) {
  const std::string hklmFile = directory + "/HKLM.registry";
  struct Way {
    const char* what;
    std::function<void()> protect;
    std::function<void()> release;
  };
  std::vector<Way> ways = {
      {"fault switch", [] { standin::SetRegistryReadOnly(HKEY_LOCAL_MACHINE, true); },
       [] { standin::SetRegistryReadOnly(HKEY_LOCAL_MACHINE, false); }},
      {"file without write permission", [&] { chmod(hklmFile.c_str(), 0444); },
       [&] { chmod(hklmFile.c_str(), 0644); }},
  };
  // The superuser may write into any directory, whatever its mode.
  if (geteuid() != 0) {
    ways.push_back({"directory without write permission", [&] { chmod(directory.c_str(), 0555); },
                    [&] { chmod(directory.c_str(), 0755); }});
  }

  HKEY key = Create(HKEY_LOCAL_MACHINE, kTestKey);
  ASSERT_EQ(SetDword(key, u"Hotkey", 1), ERROR_SUCCESS);
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    way.protect();
    HKEY opened = HKEY_LOCAL_MACHINE;
    DWORD disposition = 77;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                              nullptr, &opened, &disposition),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(opened, nullptr);
    EXPECT_EQ(disposition, 77u);
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\MarivexTest\\Registry\\New", 0,
                              nullptr, 0, KEY_READ, nullptr, &opened, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_WRITE, &opened),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetDword(key, u"Hotkey", 2), ERROR_ACCESS_DENIED) << "handle opened before";
    EXPECT_EQ(SetDword(HKEY_LOCAL_MACHINE, u"Hotkey", 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey), ERROR_ACCESS_DENIED);

    // Reading goes on as before, and the other root is not affected.
    EXPECT_EQ(QueryTestKey(HKEY_LOCAL_MACHINE, u"Hotkey"), kOne);
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_READ, nullptr,
                              &opened, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(opened);
    opened = Create(HKEY_CURRENT_USER, kTestKey);
    EXPECT_EQ(SetDword(opened, u"Hotkey", 3), ERROR_SUCCESS);
    RegCloseKey(opened);
    way.release();
  }
  RegCloseKey(key);
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), (std::vector<uint8_t>{3, 0, 0, 0}));
  EXPECT_EQ(QueryTestKey(HKEY_LOCAL_MACHINE, u"Hotkey"), kOne);
}

TEST_F(RegistryFileTest, FilesLocatedByEnvironment) {
  struct Variable {
    const char* name;
    std::optional<std::string> saved;
  };
  Variable variables[] = {{"MARIVEX_REGISTRY_HKCU", {}},
                          {"MARIVEX_REGISTRY_HKLM", {}},
                          {"XDG_STATE_HOME", {}},
                          {"HOME", {}}};
  for (Variable& variable : variables) {
    if (const char* value = getenv(variable.name)) variable.saved = value;
  }
  static const struct {
    const char* what;
    const char* hkcuVariable;
    const char* hklmVariable;
    const char* stateHome;
    const char* home;
    const char* hkcuFile;
    const char* hklmFile;
  } kRows[] = {
      {"named by variables", "/a/user.registry", "/b/machine.registry", "/state", "/home/u",
       "/a/user.registry", "/b/machine.registry"},
      {"state directory", nullptr, nullptr, "/state", "/home/u", "/state/marivex/HKCU.registry",
       "/var/lib/marivex/HKLM.registry"},
      {"relative state directory ignored", "", nullptr, "state", "/home/u",
       "/home/u/.local/state/marivex/HKCU.registry", "/var/lib/marivex/HKLM.registry"},
      {"no home", nullptr, nullptr, nullptr, nullptr, "", "/var/lib/marivex/HKLM.registry"},
  };
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) standin::SetRegistryFile(root, "");
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    const char* values[] = {row.hkcuVariable, row.hklmVariable, row.stateHome, row.home};
    for (size_t i = 0; i < std::size(variables); ++i) {
      if (values[i]) {
        setenv(variables[i].name, values[i], 1);
      } else {
        unsetenv(variables[i].name);
      }
    }
    EXPECT_EQ(standin::RegistryFile(HKEY_CURRENT_USER), row.hkcuFile);
    EXPECT_EQ(standin::RegistryFile(HKEY_LOCAL_MACHINE), row.hklmFile);
  }
  standin::SetRegistryFile(HKEY_CURRENT_USER, "/chosen");
  EXPECT_EQ(standin::RegistryFile(HKEY_CURRENT_USER), "/chosen") << "a chosen file wins";

  for (const Variable& variable : variables) {
    if (variable.saved) {
      setenv(variable.name, variable.saved->c_str(), 1);
    } else {
      unsetenv(variable.name);
    }
  }
}

TEST_F(RegistryFileTest, FirstSaveMakesTheDirectoriesAndRootsStayApart) {
  const std::string file = directory + "/state/marivex/HKCU.registry";
  standin::SetRegistryFile(HKEY_CURRENT_USER, file);
  StoreOne();
  struct stat status;
  ASSERT_EQ(stat((directory + "/state/marivex").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), kOne);
  EXPECT_EQ(QueryTestKey(HKEY_LOCAL_MACHINE, u"Hotkey"), std::nullopt);
}

TEST_F(RegistryFileTest, SaveKilledBeforeRenameKeepsOldValue) {
  const std::vector<uint8_t> before = StoreOne();
  HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = Spawn([&] {
    // Signal the parent once the new file is written, then wait to be killed.
    standin::SetRegistrySaveHook([&] {
      const char signal = 1;
      if (write(ready[1], &signal, 1) != 1) _exit(2);
      pause();
      return true;
    });
    SetDword(key, u"Hotkey", 2);
    return 1;
  });
  close(ready[1]);
  char signal = 0;
  ASSERT_EQ(read(ready[0], &signal, 1), 1);
  close(ready[0]);
  EXPECT_EQ(access((HkcuFile() + ".tmp").c_str(), F_OK), 0) << "the new contents were written";
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer died of the kill";

  EXPECT_EQ(ReadFile(HkcuFile()), before) << "the store file is the old one, byte for byte";
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), kOne);
  // The dead writer's lock is gone with it.
  EXPECT_EQ(SetDword(key, u"Hotkey", 3), ERROR_SUCCESS);
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), (std::vector<uint8_t>{3, 0, 0, 0}));
  RegCloseKey(key);
}

TEST_F(RegistryFileTest, FailedSaveKeepsOldValue) {
  const std::vector<uint8_t> before = StoreOne();
  standin::SetRegistrySaveHook([] { return false; });
  HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(SetDword(key, u"Hotkey", 2), ERROR_REGISTRY_IO_FAILED);
  RegCloseKey(key);
  EXPECT_EQ(ReadFile(HkcuFile()), before);
  EXPECT_NE(access((HkcuFile() + ".tmp").c_str(), F_OK), 0);
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), kOne);
}

TEST_F(RegistryFileTest, TruncatedOrCorruptFileHoldsNoValue) {
  const std::vector<uint8_t> good = StoreOne();
  for (size_t length = 0; length < good.size(); ++length) {
    SCOPED_TRACE("cut to " + std::to_string(length));
    WriteFile(HkcuFile(), std::vector<uint8_t>(good.begin(), good.begin() + length));
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), std::nullopt);
  }
  for (size_t at = 0; at < good.size(); ++at) {
    SCOPED_TRACE("byte changed at " + std::to_string(at));
    std::vector<uint8_t> changed = good;
    changed[at] ^= 0xFF;
    WriteFile(HkcuFile(), changed);
    EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), std::nullopt);
  }
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  WriteFile(HkcuFile(), longer);
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), std::nullopt);
}

TEST_F(RegistryFileTest, SaveOverCorruptFileKeepsItAside) {
  const std::vector<uint8_t> garbage = {'n', 'o', 't', ' ', 'a', ' ', 's', 't', 'o', 'r', 'e'};
  WriteFile(HkcuFile(), garbage);
  StoreOne();
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), kOne);
  EXPECT_EQ(ReadFile(HkcuFile() + ".corrupt"), garbage);
}

TEST_F(RegistryFileTest, DirectoryInPlaceOfTheFile) {
  ASSERT_EQ(mkdir(HkcuFile().c_str(), 0700), 0);
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), std::nullopt);
  HKEY key = nullptr;
  EXPECT_NE(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  struct stat status;
  EXPECT_EQ(stat(HkcuFile().c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode)) << "left alone";
}

TEST_F(RegistryFileTest, TwoProcessesSavingAtOnceLoseNothing) {
  RegCloseKey(Create(HKEY_CURRENT_USER, kTestKey));
  constexpr int kSaves = 20;
  constexpr size_t kSharedSize = 64 * 1024;
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  pid_t writers[2];
  for (int writer = 0; writer < 2; ++writer) {
    writers[writer] = Spawn([&, writer] {
      close(start[1]);
      char ignored;
      if (read(start[0], &ignored, 1) != 0) return 2;
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_ALL_ACCESS, &key) != 0) return 3;
      const std::vector<uint8_t> shared(kSharedSize, static_cast<uint8_t>(0xA0 + writer));
      for (int i = 0; i < kSaves; ++i) {
        const std::u16string own = OwnValueName(writer, i);
        if (Set(key, u"Shared", REG_BINARY, shared) != 0) return 4;
        if (SetDword(key, own.c_str(), static_cast<uint32_t>(i)) != 0) return 5;
      }
      return 0;
    });
  }
  close(start[0]);
  close(start[1]);  // both writers start now
  for (pid_t writer : writers) EXPECT_EQ(ExitCode(writer), 0);

  const std::optional<std::vector<uint8_t>> shared = QueryTestKey(HKEY_CURRENT_USER, u"Shared");
  ASSERT_TRUE(shared.has_value());
  ASSERT_EQ(shared->size(), kSharedSize);
  EXPECT_TRUE(*shared == std::vector<uint8_t>(kSharedSize, 0xA0) ||
              *shared == std::vector<uint8_t>(kSharedSize, 0xA1))
      << "one writer's value, whole";
  for (int writer = 0; writer < 2; ++writer) {
    for (int i = 0; i < kSaves; ++i) {
      const std::u16string own = OwnValueName(writer, i);
      EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, own.c_str()),
                (std::vector<uint8_t>{static_cast<uint8_t>(i), 0, 0, 0}))
          << "writer " << writer << ", save " << i;
    }
  }
}

TEST_F(RegistryFileTest, OpenHandleSeesAnotherProcessSave) {
  StoreOne();
  HKEY reader = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &reader), ERROR_SUCCESS);
  EXPECT_EQ(Query(reader, u"Hotkey"), kOne);
  const pid_t child = Spawn([] {
    HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
    return SetDword(key, u"Hotkey", 2) == ERROR_SUCCESS ? 0 : 1;
  });
  ASSERT_EQ(ExitCode(child), 0);
  EXPECT_EQ(Query(reader, u"Hotkey"), (std::vector<uint8_t>{2, 0, 0, 0}));
  RegCloseKey(reader);
}

Store SampleStore() {
  Store store;
  store.nextKeyId = 3;
  store.keys = {
      Key{u"", 0, {Value{u"", REG_DWORD, {1, 2, 3, 4}}}},
      Key{u"Software", 1, {}},
      Key{u"Software\\Marivex",
          2,
          {Value{u"Hotkey", REG_DWORD, {0x16, 0x00, 0x05, 0x00}}, Value{u"Empty", REG_BINARY, {}},
           Value{u"Short", REG_DWORD, {0x34, 0x12}}, Value{u"Odd", 99, {0xFF}}}},
  };
  return store;
}

TEST(RegistryFormatTest, RoundTrip) {
  const Store store = SampleStore();
  EXPECT_EQ(ParseStore(SerializeStore(store)), store);
  EXPECT_EQ(ParseStore(SerializeStore(Store{})), Store{});
}

TEST(RegistryFormatTest, RefusesBrokenRules) {
  static const struct {
    const char* what;
    void (*change)(Store&);
  } kRows[] = {
      {"two keys of one name",
       [](Store& s) {
         s.keys.push_back(Key{u"SOFTWARE", 4, {}});
       }},
      {"two values of one name",
       [](Store& s) {
         s.keys[2].values.push_back(Value{u"HOTKEY", REG_DWORD, {}});
       }},
      {"empty name inside a path", [](Store& s) { s.keys[2].path = u"Software\\\\Marivex"; }},
      {"leading backslash", [](Store& s) { s.keys[1].path = u"\\Software"; }},
      {"trailing backslash", [](Store& s) { s.keys[1].path = u"Software\\"; }},
      {"root with an id", [](Store& s) { s.keys[0].id = 1; }},
      {"key without an id", [](Store& s) { s.keys[1].id = 0; }},
      {"id not yet given out", [](Store& s) { s.keys[2].id = s.nextKeyId; }},
      {"two keys with one id", [](Store& s) { s.keys[2].id = 1; }},
      {"value name too long",
       [](Store& s) {
         s.keys[1].values.push_back(Value{std::u16string(16384, u'v'), 4, {}});
       }},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    Store store = SampleStore();
    row.change(store);
    EXPECT_EQ(ParseStore(SerializeStore(store)), std::nullopt);
  }
}

}  // namespace
