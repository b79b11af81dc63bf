// Marivex.dll's version resource, read back with Windows' version API.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "base/version.h"

namespace {

// The string entries, each with its value where it is fixed (Build's date and
// time are checked below).
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
    {L"CompanyName", nullptr},
    {L"LegalCopyright", nullptr},
};

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
