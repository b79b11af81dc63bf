// Marivex.dll's version resource, read back with Windows' version API.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/support/module_image.h"

namespace {

class VersionResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string dll = testing_support::ProgramDirectory() + "Marivex.dll";
    path_.assign(dll.begin(), dll.end());
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &handle);
    ASSERT_GT(size, 0u);
    data_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, data_.data()));
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

  std::wstring path_;
  std::vector<unsigned char> data_;
};

TEST_F(VersionResourceTest, StringEntries) {
  static const struct {
    const wchar_t* name;
    const wchar_t* value;
  } kEntries[] = {
      {L"FileDescription", L"Marivex plugin for Take Command"},
      {L"InternalName", L"Marivex"},
      {L"OriginalFilename", L"Marivex.dll"},
      {L"ProductName", L"Marivex plugin"},
      {L"ProductVersion", L"1.1.1.1  (x64)"},
      {L"FileVersion", L"1.1.1.1"},
  };
  for (const auto& entry : kEntries) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(entry.name)));
    EXPECT_EQ(String(entry.name), entry.value);
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
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00010001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

}  // namespace
