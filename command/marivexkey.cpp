// The MARIVEXKEY command: shows, sets, lists, restores and saves the hotkey.
#include "command/marivexkey.h"

#include "base/errors.h"
#include "base/host_contract.h"
#include "base/identity.h"
#include "base/text.h"
#include "command/arguments.h"
#include "command/help.h"
#include "hotkey/key_names.h"
#include "hotkey/settings.h"

namespace {

enum class SaveTarget { kNone, kCurrentUser, kLocalMachine };

// The new key of a request that names none.
constexpr int32_t kNoKeyGiven = -1;

// What the arguments asked for; nothing takes effect until all are accepted.
struct Request {
  bool restoreDefault = false;
  bool listKeys = false;
  bool quiet = false;
  bool restoreSaved = false;
  SaveTarget saveTarget = SaveTarget::kNone;
  int32_t newKey = kNoKeyGiven;  // or 0 for NONE, or a key code
};

// The options, each with what it asks for. "/S" and "/S!" replace each other.
struct Option {
  const char16_t* text;
  void (*apply)(Request& request);
};

// clang-format off
constexpr Option kOptions[] = {
    {u"/D",  [](Request& request) { request.restoreDefault = true; }},
    {u"/L",  [](Request& request) { request.listKeys = true; }},
    {u"/Q",  [](Request& request) { request.quiet = true; }},
    {u"/R",  [](Request& request) { request.restoreSaved = true; }},
    {u"/S",  [](Request& request) { request.saveTarget = SaveTarget::kCurrentUser; }},
    {u"/S!", [](Request& request) { request.saveTarget = SaveTarget::kLocalMachine; }},
};

// What the command says of a key name that ParseKeyName refused.
constexpr struct {
  int32_t code;
  const char16_t* message;
} kRefusedKeys[] = {
    {kNotAKeyName,           u"Unknown key name: \"%s\"\r\n"},
    {kNoSuchCombination,     u"Invalid hotkey: \"%s\"\r\n"},
    {kCombinationNotAllowed, u"Key not allowed: \"%s\"\r\n"},
};
// clang-format on

enum class Examined { kAccepted, kRefused, kHelpShown };

// Reports a refused argument or combination; the command then ends with 1.
int32_t Refuse(const char16_t* format, const char16_t* argument = nullptr) {
  ReportError(format, argument);
  return 1;
}

void PrintHelp(const char16_t* argument) {
  QPuts(kMarivexKeyHelp);
  if (TextEqualsIgnoreCase(argument, u"/??")) {
    Printf(u"\n\t\t\t\t%s version %u.%u.%u (%s)\r\n", kPluginName, unsigned{kVersionMajor},
           unsigned{kVersionMinor}, unsigned{kVersionBuild}, kPlatformTag);
  }
}

// Reads a key argument into the request, or refuses it with its message.
Examined ExamineKey(const char16_t* argument, Request& request) {
  if (TextEqualsIgnoreCase(argument, u"NONE")) {
    request.newKey = 0;
    return Examined::kAccepted;
  }
  const int32_t code = ParseKeyName(argument);
  for (const auto& refused : kRefusedKeys) {
    if (code == refused.code) {
      Refuse(refused.message, argument);
      return Examined::kRefused;
    }
  }
  request.newKey = code;
  return Examined::kAccepted;
}

// Reads one argument into the request, or refuses it with its message: help,
// then the options, then an unknown option, then a second key, then a key.
// The splitter has upper-cased the argument already.
Examined Examine(const char16_t* argument, Request& request) {
  if (argument[0] == u'/' && argument[1] == u'?') {
    PrintHelp(argument);
    return Examined::kHelpShown;
  }
  for (const Option& option : kOptions) {
    if (TextEqualsIgnoreCase(argument, option.text)) {
      option.apply(request);
      return Examined::kAccepted;
    }
  }
  if (argument[0] == u'/') {
    Refuse(u"Unknown option: \"%s\"\r\n", argument);
    return Examined::kRefused;
  }
  if (request.newKey != kNoKeyGiven) {
    Refuse(u"Syntax error: \"%s\"\r\n", argument);
    return Examined::kRefused;
  }
  return ExamineKey(argument, request);
}

void Display(char16_t (&text)[kMaxNameLen]) {
  Printf(u"\r\n%s v%u.%u.%u options:\r\n\n", kPluginName, unsigned{kVersionMajor},
         unsigned{kVersionMinor}, unsigned{kVersionBuild});
  FormatKeyName(text);
  Printf(u"    Marivex hotkey . . . . . . . . . %s\r\n", text);
}

void RestoreSaved(bool quiet) {
  const char16_t* rootName = nullptr;
  if (LoadSettings(platform::HKEY_CURRENT_USER) == 0) {
    rootName = u"HKCU";
  } else if (LoadSettings(platform::HKEY_LOCAL_MACHINE) == 0) {
    rootName = u"HKLM";
  }
  if (quiet) return;
  if (rootName != nullptr) {
    Printf(u"Settings restored from the registry (%s\\%s).\r\n", rootName, kRegistrySubkey);
  } else {
    Printf(u"Settings not found in the registry.\r\n");
  }
}

// Saves the hotkey in force. A refused save is reported even when quiet; the
// hotkey stays in force regardless.
int32_t Save(SaveTarget target, bool quiet, char16_t (&text)[kMaxNameLen]) {
  const bool currentUser = target == SaveTarget::kCurrentUser;
  const char16_t* rootName = currentUser ? u"HKCU" : u"HKLM";
  const int32_t status =
      SaveSettings(currentUser ? platform::HKEY_CURRENT_USER : platform::HKEY_LOCAL_MACHINE);
  if (status != 0) {
    FormatSystemError(status, text);
    ReportError(u"Error saving settings to the registry (%s\\%s) :\r\n    %s\r\n", rootName,
                kRegistrySubkey, text);
    return 2;
  }
  if (!quiet) {
    Printf(u"\r\nSettings saved to the registry (%s\\%s).\r\n", rootName, kRegistrySubkey);
  }
  return 0;
}

}  // namespace

// Takes effect in a fixed order once every argument is accepted: list, or
// restore, then the new key, then the display, then the save. After the
// splitter reports an overflow the command stops with exit code 1.
int32_t MarivexKeyCommand(const char16_t* text) {
  if (text == nullptr) return 1;
  char16_t buffer[kMaxNameLen];
  TextClear(buffer, CountOf(buffer));
  if (ArgumentSplitter(text) == kSplitFailed) return 1;
  if (argCount == 0) {
    Display(buffer);
    return 0;
  }
  Request request;
  for (int32_t j = 0; j < argCount && j < static_cast<int32_t>(MAX_ARGS); ++j) {
    const Examined result = Examine(argPointers[j], request);
    if (result == Examined::kRefused) return 1;
    if (result == Examined::kHelpShown) return 0;
  }
  if (request.listKeys) {
    if (request.restoreDefault || request.restoreSaved || request.saveTarget != SaveTarget::kNone) {
      return Refuse(u"Can\u2019t combine /L with other options\r\n");
    }
    ListKeyNames();
    return 0;
  }
  if (request.restoreDefault && request.restoreSaved) {
    return Refuse(u"Can\u2019t combine /D and /R\r\n");
  }
  if (request.restoreDefault) {
    currentHotkey = DEFAULT_HOTKEY;
    if (!request.quiet) Printf(u"Default plugin settings restored.\r\n");
  } else if (request.restoreSaved) {
    RestoreSaved(request.quiet);
  }
  if (request.newKey != kNoKeyGiven) currentHotkey = request.newKey;
  if (!request.quiet) Display(buffer);
  if (request.saveTarget == SaveTarget::kNone) return 0;
  return Save(request.saveTarget, request.quiet, buffer);
}
