// Every value type through the native registry's file and back. Natively
// the stand-in saves each value as a line of a registry export and reads it
// back; under Wine the stand-in's writer makes the same export, Windows'
// registry editor imports it, and the real registry gives the values back.
// Files as editors and the registry editor write them read as the registry
// editor reads them, and keep every line through a save.
#include "support/registry_export.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/utf.h"
#include "tests/fixtures/wine.h"
#include "tests/platform/registry_fixture.h"

#if defined(_WIN32)
#include <process.h>
#include <stdlib.h>
#endif

namespace {

using namespace platform;
using testing_support::kTestKey;
using testing_support::RegistryTest;
using testing_support::Utf16Bytes;

std::vector<uint8_t> Counting(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

struct ExportRow {
  const char16_t* name;
  DWORD type;
  std::vector<uint8_t> data;
  const char* line;  // as the file holds it
  // Wine's registry editor reads the bytes of a string type in a file that is
  // not UTF-16 as ANSI text, each byte a character; Windows' takes them as
  // they stand.
  bool wineWidens = false;
};

const ExportRow kRows[] = {
    // Four-byte DWORDs as numbers; other sizes as bytes.
    {u"Hotkey", REG_DWORD, {0x16, 0x00, 0x05, 0x00}, R"("Hotkey"=dword:00050016)"},
    {u"Negative", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, R"("Negative"=dword:ffffffff)"},
    {u"Short", REG_DWORD, {0x34, 0x12}, R"("Short"=hex(4):34,12)"},
    {u"Eight", REG_DWORD, Counting(8), R"("Eight"=hex(4):00,01,02,03,04,05,06,07)"},
    {u"Qword", REG_QWORD, Counting(8), R"("Qword"=hex(b):00,01,02,03,04,05,06,07)"},
    // Strings of printable ASCII and one terminator as text; others as bytes.
    {u"Text", REG_SZ, Utf16Bytes({u"327702", 7}), R"("Text"="327702")"},
    {u"Empty text", REG_SZ, {0, 0}, R"("Empty text"="")"},
    {uR"(Quotes "and" \)", REG_SZ, Utf16Bytes({uR"(a"b\c)", 6}),
     R"("Quotes \"and\" \\"="a\"b\\c")"},
    {u"Accent", REG_SZ, Utf16Bytes({u"\u00e9", 2}), R"("Accent"=hex(1):e9,00,00,00)", true},
    {u"Unterminated", REG_SZ, Utf16Bytes(u"ab"), R"("Unterminated"=hex(1):61,00,62,00)", true},
    {u"Expand", 2, Utf16Bytes({u"%x%", 4}), R"("Expand"=hex(2):25,00,78,00,25,00,00,00)", true},
    // Bytes of any other type.
    {u"Binary", REG_BINARY, {1, 2, 0xAB}, R"("Binary"=hex:01,02,ab)"},
    {u"Empty", REG_BINARY, {}, R"("Empty"=hex:)"},
    {u"None", REG_NONE, {}, R"("None"=hex(0):)"},
    {u"Odd type", 99, {9, 9}, R"("Odd type"=hex(63):09,09)"},
    {u"", REG_DWORD, {7, 0, 0, 0}, "@=dword:00000007"},
};

#if defined(_WIN32)
// Has the registry editor import a file of these bytes.
void Import(const std::string& bytes) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "marivex-import.reg";
  std::ofstream(file, std::ios::binary) << bytes;
  const wchar_t* windows = _wgetenv(L"SystemRoot");
  ASSERT_NE(windows, nullptr);
  const std::wstring editor = std::wstring(windows) + L"\\regedit.exe";
  const std::wstring argument = L"\"" + file.wstring() + L"\"";
  EXPECT_EQ(_wspawnl(_P_WAIT, editor.c_str(), L"regedit.exe", L"/s", argument.c_str(), nullptr), 0);
  std::filesystem::remove(file);
}

// Writes the rows as the stand-in would save them and has the registry
// editor import the file.
void StoreRows() {
  support::registry::Store store;
  support::registry::Key& key = support::registry::AddKey(store, kTestKey);
  for (const ExportRow& row : kRows) {
    key.values[support::registry::Folded(row.name)] = {row.name, row.type, row.data};
  }
  Import(support::registry::WriteExport(store, "HKEY_CURRENT_USER"));
}
#endif

TEST_F(RegistryTest, EveryValueTypeThroughTheFile) {
#if defined(_WIN32)
  StoreRows();
#else
  HKEY writer = Create(HKEY_CURRENT_USER, kTestKey);
  for (const ExportRow& row : kRows) ASSERT_EQ(Set(writer, row.name, row.type, row.data), 0);
  RegCloseKey(writer);
  std::ifstream in(scratch.File(HKEY_CURRENT_USER), std::ios::binary);
  const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_TRUE(
      file.starts_with("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\MarivexTest\\Registry]\r\n"));
#endif
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const ExportRow& row : kRows) {
    SCOPED_TRACE(row.line);
    std::vector<uint8_t> expected = row.data;
    if (row.wineWidens && testing_support::RunningUnderWine()) {
      expected.clear();
      for (const uint8_t byte : row.data) expected.insert(expected.end(), {byte, 0});
    }
    DWORD type = 0;
    EXPECT_EQ(Query(key, row.name, &type), expected);
    EXPECT_EQ(type, row.type);
#if !defined(_WIN32)
    EXPECT_NE(file.find(std::string("\r\n") + row.line + "\r\n"), std::string::npos);
#endif
  }
  RegCloseKey(key);
}

// Files as the registry editor exports them and as editors save them. Each
// reads as these values (under Wine, as the registry editor imports the same
// bytes), and a save that sets one more value keeps every line as it stood.
TEST_F(RegistryTest, WhatEditorsWriteReadsAndKeepsItsLinesThroughASave) {
  enum class Encoding { kUtf8, kUtf8WithMark, kUtf16WithMark };
  struct Expected {
    const char16_t* name;
    DWORD type;
    std::vector<uint8_t> data;
  };
  const std::vector<uint8_t> kHotkey = {0x16, 0x00, 0x05, 0x00};
  const struct {
    const char* what;
    Encoding encoding;
    const char* lineEnd;
    std::string lines;  // after the section's line, "\n" between lines
    std::vector<Expected> values;
    bool wineReadsNothing = false;  // Wine's editor takes the mark for part of the header
  } kEditedRows[] = {
      {"the registry editor's wrapped bytes",
       Encoding::kUtf8,
       "\r\n",
       "\"Wrapped\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
       "  17,18,19,1a,1b\n\"After\"=dword:00000002",
       {{u"Wrapped", REG_BINARY, Counting(28)}, {u"After", REG_DWORD, {2, 0, 0, 0}}}},
      {"a continuation that a person did not indent",
       Encoding::kUtf8,
       "\r\n",
       "\"Hotkey\"=hex(4):16,00,\\\n05,00",
       {{u"Hotkey", REG_DWORD, kHotkey}}},
      {"a UTF-8 byte-order mark, as Notepad writes",
       Encoding::kUtf8WithMark,
       "\r\n",
       "\"Hotkey\"=dword:00050016",
       {{u"Hotkey", REG_DWORD, kHotkey}},
       true},
      {"UTF-16LE with its byte-order mark, as the registry editor exports",
       Encoding::kUtf16WithMark,
       "\r\n",
       "\"Hotkey\"=dword:00050016\n\"\u00c9t\u00e9\"=\"\u00e9t\u00e9\"",
       {{u"Hotkey", REG_DWORD, kHotkey},
        {u"\u00c9t\u00e9", REG_SZ, Utf16Bytes({u"\u00e9t\u00e9", 4})}}},
      {"CR-only line ends",
       Encoding::kUtf8,
       "\r",
       "\"Hotkey\"=dword:00050016",
       {{u"Hotkey", REG_DWORD, kHotkey}}},
  };
  for (const auto& row : kEditedRows) {
    SCOPED_TRACE(row.what);
    std::vector<std::string> lines = {"Windows Registry Editor Version 5.00", "",
                                      "[HKEY_CURRENT_USER\\Software\\MarivexTest\\Registry]"};
    for (size_t start = 0; start <= row.lines.size();) {
      const size_t end = std::min(row.lines.find('\n', start), row.lines.size());
      lines.push_back(row.lines.substr(start, end - start));
      start = end + 1;
    }
    std::string text;
    for (const std::string& line : lines) text += line + row.lineEnd;
    std::string bytes = row.encoding == Encoding::kUtf8WithMark ? "\xEF\xBB\xBF" + text : text;
    if (row.encoding == Encoding::kUtf16WithMark) {
      bytes = "\xFF\xFE";
      for (const char16_t c : support::ToUtf16(text)) {
        bytes.append({static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)});
      }
    }

    std::optional<support::registry::Store> store =
        support::registry::ParseExport(bytes, "HKEY_CURRENT_USER");
    ASSERT_TRUE(store.has_value());
    support::registry::Key& key = support::registry::AddKey(*store, kTestKey);
    for (const Expected& value : row.values) {
      const support::registry::Value& read = key.values[support::registry::Folded(value.name)];
      EXPECT_EQ(read.type, value.type);
      EXPECT_EQ(read.data, value.data);
    }
    key.values[u"NEW"] = {u"New", REG_DWORD, {3, 0, 0, 0}};
    const std::string written = support::registry::WriteExport(*store, "HKEY_CURRENT_USER");
    for (const std::string& line : lines) {
      EXPECT_NE(written.find(line + "\r\n"), std::string::npos) << line;
    }
    EXPECT_NE(written.find("\r\n\"New\"=dword:00000003\r\n"), std::string::npos);

#if defined(_WIN32)
    if (row.wineReadsNothing && testing_support::RunningUnderWine()) continue;
    Import(bytes);
    HKEY imported = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &imported), ERROR_SUCCESS);
    for (const Expected& value : row.values) {
      DWORD type = 0;
      EXPECT_EQ(Query(imported, value.name, &type), value.data);
      EXPECT_EQ(type, value.type);
    }
    RegCloseKey(imported);
#endif
  }
}

}  // namespace
