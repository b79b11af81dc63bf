// Start-up and shut-down.
#include "base/host_contract.h"
#include "base/host_text.h"
#include "base/identity.h"
#include "base/text.h"
#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/settings.h"
#include "plugin/exports.h"

// Chooses the key scheme before the saved hotkey is read, since whether a
// saved code is acceptable depends on it; the per-user setting wins over the
// machine's, and without either the default stays, silently. The load message
// is printed only in an interactive shell: not transient, not in a pipe, and
// with no variable noloadmsg set.
PLUGIN_EXPORT int InitializePlugin() {
  char16_t text[MAX_ARG_LEN];
  ExpandHostText(u"%[_transient]%[_pipe]%[noloadmsg]", text);
  const bool interactive = text[0] == u'0' && text[1] == u'0' && text[2] == u'\0';
  ProbeHostVersion();
  currentHotkey = DEFAULT_HOTKEY;
  if (LoadSettings(platform::HKEY_CURRENT_USER) != 0) LoadSettings(platform::HKEY_LOCAL_MACHINE);
  if (interactive) {
    char16_t name[kMaxNameLen];
    FormatKeyName(name);
    Printf(u"%s v%d.%d.%d loaded; hotkey is %s.\r\n", kPluginName, kVersionMajor, kVersionMinor,
           kVersionBuild, name);
  }
  return 0;
}

// Nothing is held that needs releasing, and nothing is saved.
PLUGIN_EXPORT int ShutdownPlugin(int /*endProcess*/) {
  return 0;
}
