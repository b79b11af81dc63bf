// The exports that hand the host's call to the folder doing the work.
#include "plugin/exports.h"

#include "command/help.h"
#include "command/marivexkey.h"
#include "convert/functions.h"
#include "hotkey/hook.h"

PLUGIN_EXPORT int f_file2uri(char16_t* buffer) {
  return VariableFileToUri(buffer, 0);
}

PLUGIN_EXPORT int f_file2uris(char16_t* buffer) {
  return VariableFileToUri(buffer, 1);
}

PLUGIN_EXPORT int f_uri2file(char16_t* buffer) {
  return VariableUriToFile(buffer);
}

PLUGIN_EXPORT int f_isurl(char16_t* buffer) {
  return VariableIsUrl(buffer);
}

PLUGIN_EXPORT int marivexkey(char16_t* arguments) {
  return MarivexKeyCommand(arguments);
}

PLUGIN_EXPORT int key(KeystrokeRecord* record) {
  return HandleKeystroke(record);
}

PLUGIN_EXPORT int Usage(const char16_t* name, char16_t* syntax) {
  return AnswerUsage(name, syntax);
}

PLUGIN_EXPORT int Help(const char16_t* name) {
  return ShowHelp(name);
}
