// The registry calls as the plug-in meets them: results and out-parameters
// in every case that matters. Natively these run against the stand-in, under
// Wine against the real registry, from the same tables.
#include <array>

#include "tests/platform/registry_fixture.h"

namespace {

using namespace platform;
using testing_support::kTestKey;
using testing_support::RegistryTest;
using testing_support::Utf16Bytes;

const HKEY kInvalidHandle = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x4242));
constexpr DWORD kTypeSentinel = 0xAAAA;
constexpr uint8_t kDataSentinel = 0xCC;
constexpr DWORD kDispositionSentinel = 77;

const std::vector<uint8_t> kText = Utf16Bytes(std::u16string_view(u"327702", 7));

const struct StoredValue {
  const char16_t* name;
  DWORD type;
  std::vector<uint8_t> data;
} kStoredValues[] = {
    {u"Hotkey", REG_DWORD, {0x16, 0x00, 0x05, 0x00}},
    {u"Short", REG_DWORD, {0x34, 0x12}},
    {u"Long", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
    {u"Qword", REG_QWORD, {0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}},
    {u"Binary", REG_BINARY, {1, 2, 3, 4, 5}},
    {u"Text", REG_SZ, kText},
    {u"Empty", REG_BINARY, {}},
    {u"Odd type", 99, {9, 9, 9, 9}},
    {u"", REG_DWORD, {7, 0, 0, 0}},
};

struct QueryRow {
  const char* what;
  const char16_t* name;
  DWORD sizeIn = 0;
  LSTATUS status = ERROR_SUCCESS;
  DWORD type = kTypeSentinel;         // as left in the caller's variable
  DWORD size = 0;                     // as left in the caller's variable
  std::vector<uint8_t> written = {};  // the rest of the buffer keeps its sentinel
  unsigned arguments = 0;             // which arguments differ from the usual call
};

// The usual call passes a type, a data buffer and a size, and no reserved.
constexpr unsigned kNoData = 1;
constexpr unsigned kNoSize = 2;
constexpr unsigned kNoType = 4;
constexpr unsigned kReserved = 8;
constexpr unsigned kNoBuffers = kNoData | kNoSize;

TEST_F(RegistryTest, QueryOutParametersInEveryCase) {
  HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
  for (const StoredValue& value : kStoredValues) {
    ASSERT_EQ(Set(key, value.name, value.type, value.data), ERROR_SUCCESS);
  }
  const std::vector<uint8_t> longDword = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::vector<uint8_t> binary = {1, 2, 3, 4, 5};
  const QueryRow kRows[] = {
      // Values that fit: type, size and data reported.
      {"dword, buffer exactly full", u"Hotkey", 4, 0, REG_DWORD, 4, {0x16, 0x00, 0x05, 0x00}},
      {"buffer larger than the value", u"hotkey", 16, 0, REG_DWORD, 4, {0x16, 0, 5, 0}},
      {"two-byte dword: rest untouched", u"Short", 4, 0, REG_DWORD, 2, {0x34, 0x12}},
      {"eight-byte dword, buffer of eight", u"Long", 8, 0, REG_DWORD, 8, longDword},
      {"qword", u"Qword", 8, 0, REG_QWORD, 8, {0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}},
      {"binary, exactly full", u"Binary", 5, 0, REG_BINARY, 5, binary},
      {"binary, one over", u"Binary", 6, 0, REG_BINARY, 5, binary},
      {"string with its terminator", u"Text", 14, 0, REG_SZ, 14, kText},
      {"empty value", u"Empty", 16, 0, REG_BINARY, 0, {}},
      {"any type kept", u"Odd type", 4, 0, 99, 4, {9, 9, 9, 9}},
      {"default value by empty name", u"", 4, 0, REG_DWORD, 4, {7, 0, 0, 0}},
      {"default value by null name", nullptr, 4, 0, REG_DWORD, 4, {7, 0, 0, 0}},
      // Values too large: type and needed size reported, data untouched.
      {"eight-byte dword into four", u"Long", 4, ERROR_MORE_DATA, REG_DWORD, 8},
      {"qword into four", u"Qword", 4, ERROR_MORE_DATA, REG_QWORD, 8},
      {"binary, one short", u"Binary", 4, ERROR_MORE_DATA, REG_BINARY, 5},
      {"binary into none", u"Binary", 0, ERROR_MORE_DATA, REG_BINARY, 5},
      {"string into four", u"Text", 4, ERROR_MORE_DATA, REG_SZ, 14},
      // No data buffer: the size alone, whatever the size given.
      {"size only", u"Long", 4, 0, REG_DWORD, 8, {}, kNoData},
      {"type only", u"Hotkey", 0, 0, REG_DWORD, 0, {}, kNoBuffers},
      {"no type", u"Hotkey", 4, 0, kTypeSentinel, 4, {0x16, 0, 5, 0}, kNoType},
      // Missing values leave every out-parameter untouched.
      {"missing value", u"Missing", 4, ERROR_FILE_NOT_FOUND, kTypeSentinel, 4},
      {"no buffers", u"Missing", 0, ERROR_FILE_NOT_FOUND, kTypeSentinel, 0, {}, kNoBuffers},
      // Refused parameters leave them untouched too.
      {"data without a size", u"Hotkey", 0, ERROR_INVALID_PARAMETER, kTypeSentinel, 0, {}, kNoSize},
      {"reserved given", u"Hotkey", 4, ERROR_INVALID_PARAMETER, kTypeSentinel, 4, {}, kReserved},
  };
  for (const QueryRow& row : kRows) {
    SCOPED_TRACE(row.what);
    DWORD type = kTypeSentinel;
    DWORD size = row.sizeIn;
    DWORD reserved = 0;
    std::array<uint8_t, 16> data;
    data.fill(kDataSentinel);
    const LSTATUS status =
        RegQueryValueExW(key, row.name, (row.arguments & kReserved) ? &reserved : nullptr,
                         (row.arguments & kNoType) ? nullptr : &type,
                         (row.arguments & kNoData) ? nullptr : data.data(),
                         (row.arguments & kNoSize) ? nullptr : &size);
    EXPECT_EQ(status, row.status);
    EXPECT_EQ(type, row.type);
    EXPECT_EQ(size, row.size);
    std::array<uint8_t, 16> expected;
    expected.fill(kDataSentinel);
    std::copy(row.written.begin(), row.written.end(), expected.begin());
    EXPECT_EQ(data, expected);
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, OpenFindsKeysByPathInAnyCase) {
  HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
  HKEY deeper = Create(HKEY_CURRENT_USER, u"Software\\MarivexTest\\Registry\\Sub\\Deeper");
  ASSERT_EQ(SetDword(key, u"Where", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(deeper, u"Where", 2), ERROR_SUCCESS);

  static const struct {
    const char* what;
    bool fromTestKey;
    const char16_t* subKey;
    LSTATUS status;
    uint8_t where;
  } kRows[] = {
      {"the key", false, u"Software\\MarivexTest\\Registry", 0, 1},
      {"other case", false, u"SOFTWARE\\marivextest\\REGISTRY", 0, 1},
      {"two levels deeper", false, u"Software\\MarivexTest\\Registry\\Sub\\Deeper", 0, 2},
      {"relative to an open key", true, u"sub\\DEEPER", 0, 2},
      {"open key itself by empty name", true, u"", 0, 1},
      {"trailing backslash", false, u"Software\\MarivexTest\\Registry\\", 0, 1},
      {"doubled backslash", false, u"Software\\MarivexTest\\\\Registry", 0, 1},
      {"leading backslash", false, u"\\Software\\MarivexTest\\Registry", ERROR_BAD_PATHNAME, 0},
      {"missing last key", false, u"Software\\MarivexTest\\Registry\\Missing", ERROR_FILE_NOT_FOUND,
       0},
      {"missing middle key", false, u"Software\\MarivexTest\\Missing\\Sub", ERROR_FILE_NOT_FOUND,
       0},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    HKEY opened = kInvalidHandle;
    EXPECT_EQ(
        RegOpenKeyExW(row.fromTestKey ? key : HKEY_CURRENT_USER, row.subKey, 0, KEY_READ, &opened),
        row.status);
    if (row.status != ERROR_SUCCESS) {
      EXPECT_EQ(opened, nullptr);
      continue;
    }
    EXPECT_NE(opened, key);
    EXPECT_EQ(Query(opened, u"Where"), (std::vector<uint8_t>{row.where, 0, 0, 0}));
    EXPECT_EQ(RegCloseKey(opened), ERROR_SUCCESS);
  }
  RegCloseKey(deeper);
  RegCloseKey(key);
}

TEST_F(RegistryTest, RootsAndBadArguments) {
  for (const char16_t* subKey : {static_cast<const char16_t*>(nullptr), u""}) {
    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &opened), ERROR_SUCCESS);
    EXPECT_EQ(opened, HKEY_CURRENT_USER) << "a root opens as itself";
  }
  HKEY opened = HKEY_CURRENT_USER;
  EXPECT_EQ(RegOpenKeyExW(kInvalidHandle, kTestKey, 0, KEY_READ, &opened), ERROR_INVALID_HANDLE);
  EXPECT_EQ(opened, nullptr);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, nullptr),
            ERROR_INVALID_PARAMETER);

  // The root takes values and queries directly.
  DWORD size = 4;
  uint8_t data[4] = {};
  EXPECT_EQ(
      RegQueryValueExW(HKEY_CURRENT_USER, u"MarivexTestNoSuchValue", nullptr, nullptr, data, &size),
      ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(kInvalidHandle, u"Hotkey", nullptr, nullptr, data, &size),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueExW(nullptr, u"Hotkey", nullptr, nullptr, data, &size),
            ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, CreateMakesEveryLevelOnce) {
  HKEY key = kInvalidHandle;
  DWORD disposition = kDispositionSentinel;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\MarivexTest\\Registry\\A\\B", 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, &disposition),
      ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  EXPECT_EQ(SetDword(key, u"Hotkey", 0x50016), ERROR_SUCCESS);
  RegCloseKey(key);

  HKEY middle = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &middle), ERROR_SUCCESS);
  RegCloseKey(middle);

  disposition = kDispositionSentinel;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, u"software\\MARIVEXTEST\\registry\\a\\b", 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, &disposition),
      ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(Query(key, u"HOTKEY"), (std::vector<uint8_t>{0x16, 0x00, 0x05, 0x00}));
  RegCloseKey(key);
}

TEST_F(RegistryTest, CreateRefusals) {
  static const struct {
    const char* what;
    bool invalidParent;
    const char16_t* subKey;
    LSTATUS status;
  } kRows[] = {
      {"invalid parent", true, kTestKey, ERROR_INVALID_HANDLE},
      {"leading backslash", false, u"\\Software\\MarivexTest\\Registry", ERROR_BAD_PATHNAME},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    HKEY key = HKEY_CURRENT_USER;
    DWORD disposition = kDispositionSentinel;
    EXPECT_EQ(RegCreateKeyExW(row.invalidParent ? kInvalidHandle : HKEY_CURRENT_USER, row.subKey, 0,
                              nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                              &disposition),
              row.status);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(disposition, kDispositionSentinel);
  }
}

TEST_F(RegistryTest, SetRefusals) {
  HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
  const std::u16string longestName(16383, u'v');
  const std::u16string tooLongName(16384, u'v');
  const uint8_t data[4] = {1, 2, 3, 4};

  const struct Row {
    const char* what;
    bool invalidHandle;
    const char16_t* name;
    bool nullData;
    LSTATUS status;
  } kRows[] = {
      {"null data with a size", false, u"Hotkey", true, ERROR_NOACCESS},
      {"invalid handle", true, u"Hotkey", false, ERROR_INVALID_HANDLE},
      {"longest name", false, longestName.c_str(), false, ERROR_SUCCESS},
      {"name one too long", false, tooLongName.c_str(), false, ERROR_INVALID_PARAMETER},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(RegSetValueExW(row.invalidHandle ? kInvalidHandle : key, row.name, 0, REG_DWORD,
                             row.nullData ? nullptr : data, 4),
              row.status);
    EXPECT_EQ(Query(key, row.name).has_value(), row.status == ERROR_SUCCESS);
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, SetReplacesTheValueOfAnyCase) {
  HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
  ASSERT_EQ(SetDword(key, u"Hotkey", 1), ERROR_SUCCESS);
  ASSERT_EQ(Set(key, u"HOTKEY", REG_BINARY, {2, 2}), ERROR_SUCCESS);
  DWORD type = 0;
  EXPECT_EQ(Query(key, u"hotkey", &type), (std::vector<uint8_t>{2, 2}));
  EXPECT_EQ(type, REG_BINARY);
  RegCloseKey(key);
}

TEST_F(RegistryTest, HandlesSeeEachOthersWrites) {
  HKEY writer = Create(HKEY_CURRENT_USER, kTestKey);
  HKEY reader = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &reader), ERROR_SUCCESS);
  EXPECT_EQ(Query(reader, u"Hotkey"), std::nullopt);
  ASSERT_EQ(SetDword(writer, u"Hotkey", 0x50016), ERROR_SUCCESS);
  EXPECT_EQ(Query(reader, u"Hotkey"), (std::vector<uint8_t>{0x16, 0x00, 0x05, 0x00}));
  RegCloseKey(reader);
  RegCloseKey(writer);
}

TEST_F(RegistryTest, CloseKey) {
  HKEY key = Create(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE) << "closed twice";
  EXPECT_EQ(RegCloseKey(kInvalidHandle), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS) << "a root stays usable";
  EXPECT_EQ(QueryTestKey(HKEY_CURRENT_USER, u"Hotkey"), std::nullopt);
}

}  // namespace
