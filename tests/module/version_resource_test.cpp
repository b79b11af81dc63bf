// Marivex.dll's version resource, read back with Windows' version API.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "base/version.h"

namespace {

// The entries the resource holds, each with its value where it is fixed.
const struct {
  const wchar_t* name;
  const wchar_t* value;
} kEntries[] = {
    {L"FileDescription", L"Marivex plugin for Take Command"},
    {L"InternalName", L"Marivex"},
    {L"OriginalFilename", L"Marivex.dll"},
    {L"ProductName", L"Marivex plugin"},
    {L"ProductVersion", L"" MARIVEX_VERSION_FULL "  (x64)"},
    {L"FileVersion", L"" MARIVEX_VERSION_FULL},
    {L"Build", nullptr},
    {L"CompanyName", nullptr},
    {L"LegalCopyright", nullptr},
};

// One block of the resource: a length, a value length, a type, a key, the
// value and then the blocks nested in it, the last three each starting on a
// four-byte boundary.
struct Block {
  std::wstring key;
  const unsigned char* data;
};

uint16_t WordAt(const unsigned char* data, size_t offset) {
  uint16_t word = 0;
  std::memcpy(&word, data + offset, sizeof word);
  return word;
}

size_t Aligned(size_t offset) {
  return (offset + 3) & ~size_t{3};
}

std::vector<Block> Children(const unsigned char* data) {
  const size_t length = WordAt(data, 0);
  const size_t valueLength = WordAt(data, 2);
  const bool textValue = WordAt(data, 4) == 1;
  size_t offset = 6;
  while (WordAt(data, offset) != 0) offset += 2;
  offset = Aligned(Aligned(offset + 2) + (textValue ? 2 * valueLength : valueLength));
  std::vector<Block> children;
  while (offset < length) {
    const unsigned char* child = data + offset;
    std::wstring key;
    for (size_t at = 6; WordAt(child, at) != 0; at += 2) key += wchar_t{WordAt(child, at)};
    children.push_back({key, child});
    offset = Aligned(offset + WordAt(child, 0));
  }
  return children;
}

class VersionResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A name alone is looked for first in the test program's folder.
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(L"Marivex.dll", &handle);
    ASSERT_GT(size, 0u);
    data_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(L"Marivex.dll", 0, size, data_.data()));
  }

  std::wstring String(const wchar_t* name) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), query.c_str(), &value, &length) || value == nullptr) {
      return L"<missing>";
    }
    return static_cast<const wchar_t*>(value);
  }

  std::vector<unsigned char> data_;
};

TEST_F(VersionResourceTest, StringEntries) {
  for (const auto& entry : kEntries) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(entry.name)));
    if (entry.value != nullptr) {
      EXPECT_EQ(String(entry.name), entry.value);
    } else {
      EXPECT_NE(String(entry.name), L"<missing>");
    }
  }
}

// No other entry: one naming the machine or the user that built the module
// would tell more than a user needs and make two builds of a commit differ.
TEST_F(VersionResourceTest, NoOtherEntries) {
  std::set<std::wstring> expected;
  for (const auto& entry : kEntries) expected.insert(entry.name);
  std::set<std::wstring> found;
  for (const Block& info : Children(data_.data())) {
    if (info.key != L"StringFileInfo") continue;
    for (const Block& table : Children(info.data)) {
      EXPECT_EQ(table.key, L"040904b0");
      for (const Block& entry : Children(table.data)) found.insert(entry.key);
    }
  }
  EXPECT_EQ(found, expected);
}

TEST_F(VersionResourceTest, BuildIsStampedWithDateAndTime) {
  const std::wstring build = String(L"Build");
  EXPECT_TRUE(std::regex_match(build, std::wregex(L"\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}")))
      << testing::PrintToString(build);
}

TEST_F(VersionResourceTest, FixedFileAndProductVersions) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  const DWORD high = MAKELONG(MARIVEX_VERSION_MINOR, MARIVEX_VERSION_MAJOR);
  const DWORD low = MAKELONG(MARIVEX_VERSION_REVISION, MARIVEX_VERSION_BUILD);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

}  // namespace
