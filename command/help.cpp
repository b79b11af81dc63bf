#include "command/help.h"

#include "base/text.h"
#include "platform/platform.h"

// The texts keep their trailing blanks, the double blanks after full stops and
// the typographic quotes U+2018 and U+2019. One line of source per line of text.

extern const char16_t kFile2UriHelp[] =
    u"@FILE2URI[filename]  \n"
    u"\n"
    u"Converts a local filename to a file:// URI.\n"
    u"\n"
    u"The filename will be canonicalized first, so\n"
    u"relative pathnames and directory aliases are\n"
    u"okay.  The file need not exist.  Note that the  \n"
    u"string returned may contain percent signs --  \n"
    u"handle with care!\n";

extern const char16_t kFile2UrisHelp[] =
    u"@FILE2URIS[filename]  \n"
    u"\n"
    u"Converts a local filename to a file:// URI.\n"
    u"\n"
    u"The filename will be canonicalized first, so\n"
    u"relative pathnames and directory aliases are  \n"
    u"okay.  The file need not exist.  Any percent\n"
    u"signs in the resulting string will be replaced\n"
    u"with \u2018safe\u2019 percent signs, Unicode character\n"
    u"0xFF05.\n";

extern const char16_t kIsUrlHelp[] =
    u"@ISURL[string]  \n"
    u"\n"
    u"Returns nonzero if string is an internet URL:  \n"
    u"\n"
    u"0 - not a URL (no protocol specifier)\n"
    u"1 - HTTP\n"
    u"2 - HTTPS\n"
    u"3 - FTP\n"
    u"4 - IFTP\n"
    u"5 - TFTP\n"
    u"6 - FTPS\n"
    u"7 - IFTPS\n"
    u"8 - other internet URLs (gopher, mailto, etc.)  \n"
    u"\n"
    u"This function simply exposes TCC\u2019s internal\n"
    u"QueryIsURL() function.\n";

extern const char16_t kUri2FileHelp[] =
    u"@URI2FILE[string]  \n"
    u"\n"
    u"Converts a file:// URI to a local filename.  \n"
    u"\n"
    u"If the string contains percent signs, you will need\n"
    u"to double them or protect them with strong quotes  \n"
    u"or escapes.  You can also use %@CHAR[0xFF05] as  \n"
    u"a substitute for the percent sign; this character will\n"
    u"be replaced before converting the string.\n";

extern const char16_t kMarivexKeyHelp[] =
    u"View and change the hotkey assignment.\n"
    u"\n"
    u"MARIVEXKEY /D /L /Q /R /S key \r\n"
    u"\n"
    u"\t/D\trestore default plugin settings\n"
    u"\t/L\tlist all supported hotkeys\n"
    u"\t/Q\tquietly\n"
    u"\t/R\trestore saved settings from the registry\n"
    u"\t/S\tsave the current settings to the registry  \n"
    u"\tkey\tthe new hotkey\n"
    u"\n"
    u"MARIVEXKEY with no options displays the current settings.  \n";

namespace {

// A name of the help table: at most 10 characters and the terminator.
constexpr size_t kHelpNameField = 11;

struct HelpEntry {
  char16_t name[kHelpNameField];
  const char16_t* text;
};

// The five names of the function list that have help, in the list's order;
// the keystroke hook "*key" has none.
// clang-format off
constexpr HelpEntry kHelpTable[] = {
    {u"@file2uri",  kFile2UriHelp},
    {u"@file2uris", kFile2UrisHelp},
    {u"@isurl",     kIsUrlHelp},
    {u"@uri2file",  kUri2FileHelp},
    {u"marivexkey", kMarivexKeyHelp},
};
// clang-format on

constexpr const char16_t* kHelpCaption = u"Marivex Plugin Help";

// The syntax part of a help text: what follows its first line and the empty
// lines after it. A text without a line feed has none.
const char16_t* SyntaxOf(const char16_t* text) {
  while (*text != u'\0' && *text != u'\n') ++text;
  while (*text == u'\n') ++text;
  return text;
}

}  // namespace

const char16_t* FindHelpText(const char16_t* name) {
  if (name == nullptr) return nullptr;
  for (const HelpEntry& entry : kHelpTable) {
    if (TextEqualsIgnoreCase(name, entry.name)) return entry.text;
  }
  return nullptr;
}

// Answers with a syntax text only for the command: names of variable
// functions ("@") and internal variables ("_") get none, though the table
// holds help for the functions. The buffer is left alone unless 1 is returned.
int32_t AnswerUsage(const char16_t* name, char16_t* syntax) {
  if (name == nullptr || syntax == nullptr) return 0;
  if (name[0] == u'@' || name[0] == u'_') return 0;
  const char16_t* text = FindHelpText(name);
  if (text == nullptr) return 0;
  TextCopy(syntax, kMaxNameLen, SyntaxOf(text));
  return 1;
}

// Shows the name's help in a modal box owned by the foreground window and
// returns once the user has closed it.
int32_t ShowHelp(const char16_t* name) {
  const char16_t* text = FindHelpText(name);
  if (text == nullptr) return 0;
  platform::MessageBoxW(platform::GetForegroundWindow(), text, kHelpCaption, platform::MB_OK);
  return 1;
}
