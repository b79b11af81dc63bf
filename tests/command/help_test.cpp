// The syntax and help texts the host asks for, by name.
#include "command/help.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/host_contract.h"
#include "base/text.h"
#include "plugin/exports.h"
#include "support/utf.h"

#if !defined(_WIN32)
#include "platform/posix/standin.h"
#endif

namespace {

// What follows the first line and the blank line of the command's help.
const std::u16string kCommandSyntax = std::u16string(kMarivexKeyHelp).substr(40);

// Collects the message boxes shown while it lives. Natively only: under Wine
// the real MessageBoxW returns at once without showing anything.
class BoxRecorder {
 public:
#if !defined(_WIN32)
  BoxRecorder() {
    standin::SetMessageBoxHandler(
        [this](const char16_t* text, const char16_t* caption, platform::UINT type) {
          boxes.push_back(Box(caption, text, type));
          return 1;
        });
  }
  ~BoxRecorder() {
    standin::SetMessageBoxHandler(nullptr);
  }
#endif
  // A message box as its caption, text and type, separated by "|".
  static std::u16string Box(const char16_t* caption, const char16_t* text, platform::UINT type) {
    return std::u16string(caption) + u"|" + text + u"|" + support::ToUtf16(std::to_string(type));
  }
  std::vector<std::u16string> boxes;
};

TEST(HelpTextsTest, HaveTheirLengthsAndOpenWithTheirSyntax) {
  static const struct {
    const char16_t* text;
    size_t length;
    const char16_t* firstLine;
  } kCases[] = {
      {kFile2UriHelp, 272, u"@FILE2URI[filename]  "},
      {kFile2UrisHelp, 306, u"@FILE2URIS[filename]  "},
      {kIsUrlHelp, 286, u"@ISURL[string]  "},
      {kUri2FileHelp, 319, u"@URI2FILE[string]  "},
      {kMarivexKeyHelp, 326, u"View and change the hotkey assignment."},
  };
  for (size_t row = 0; row < std::size(kCases); ++row) {
    SCOPED_TRACE(row);
    const std::u16string text = kCases[row].text;
    EXPECT_EQ(text.size(), kCases[row].length);
    EXPECT_EQ(text.substr(0, text.find(u'\n')), kCases[row].firstLine);
  }
  EXPECT_NE(std::u16string(kFile2UrisHelp).find(u"with \u2018safe\u2019 percent"),
            std::u16string::npos);
  EXPECT_NE(std::u16string(kIsUrlHelp).find(u"TCC\u2019s internal"), std::u16string::npos);
}

TEST(UsageTest, AnswersOnlyForTheCommand) {
  static const struct {
    const char16_t* name;
    int result;
  } kCases[] = {
      {u"marivexkey", 1},
      {u"MARIVEXKEY", 1},
      {u"MarivexKey", 1},
      // Variable functions and internal variables get no syntax text.
      {u"@FILE2URI", 0},
      {u"@file2uri", 0},
      {u"@isurl", 0},
      {u"@marivexkey", 0},
      {u"_marivexkey", 0},
      // Not in the table.
      {u"FILE2URI", 0},
      {u"key", 0},
      {u"*key", 0},
      {u"", 0},
      {u"marivexke", 0},
      {u"marivexkeys", 0},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(support::ToUtf8(row.name));
    std::u16string buffer(kMaxNameLen + 1, u'#');
    ASSERT_EQ(Usage(row.name, buffer.data()), row.result);
    if (row.result == 0) {
      EXPECT_EQ(buffer, std::u16string(kMaxNameLen + 1, u'#')) << "buffer touched";
    } else {
      EXPECT_EQ(std::u16string(buffer.c_str()), kCommandSyntax);
      EXPECT_EQ(buffer.find(u'#'), kCommandSyntax.size() + 1) << "wrote past the terminator";
    }
  }
}

TEST(HelpTest, ShowsTheTextOfEveryNameInTheList) {
  static const struct {
    const char16_t* name;
    const char16_t* text;  // null: no help
  } kCases[] = {
      {u"@file2uri", kFile2UriHelp},
      {u"@FILE2URIS", kFile2UrisHelp},
      {u"@IsUrl", kIsUrlHelp},
      {u"@uri2file", kUri2FileHelp},
      {u"MarivexKey", kMarivexKeyHelp},
      {u"FILE2URI", nullptr},
      {u"key", nullptr},
      {u"*key", nullptr},
      {u"", nullptr},
      {u"@file2ur", nullptr},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(support::ToUtf8(row.name));
    BoxRecorder recorder;
    EXPECT_EQ(Help(row.name), row.text ? 1 : 0);
#if !defined(_WIN32)
    std::vector<std::u16string> shown;
    if (row.text)
      shown.push_back(BoxRecorder::Box(u"Marivex Plugin Help", row.text, platform::MB_OK));
    EXPECT_EQ(recorder.boxes, shown);
#endif
  }
}

TEST(HelpTest, NullNamesGetNothing) {
  char16_t buffer[kMaxNameLen] = {u'#'};
  EXPECT_EQ(Usage(nullptr, buffer), 0);
  EXPECT_EQ(Usage(u"marivexkey", nullptr), 0);
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(Help(nullptr), 0);
}

}  // namespace
