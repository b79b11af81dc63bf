// Helpers shared by the key-name tests: the scheme globals kept per test, and
// both key schemes side by side.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/key_tables.h"
#include "hotkey/settings.h"
#include "support/utf.h"

namespace testing_support {

// Restores the key scheme and the hotkey when the test ends, whatever it set.
class KeyGlobalsGuard {
 public:
  KeyGlobalsGuard()
      : hostMajorVersion_(hostMajorVersion), extendedKeys_(extendedKeys), hotkey_(currentHotkey) {}
  ~KeyGlobalsGuard() {
    hostMajorVersion = hostMajorVersion_;
    extendedKeys = extendedKeys_;
    currentHotkey = hotkey_;
  }
  KeyGlobalsGuard(const KeyGlobalsGuard&) = delete;
  KeyGlobalsGuard& operator=(const KeyGlobalsGuard&) = delete;

 private:
  int32_t hostMajorVersion_;
  int32_t extendedKeys_;
  int32_t hotkey_;
};

class KeySchemeTest : public ::testing::Test {
 private:
  KeyGlobalsGuard guard_;
};

// Calls check with each scheme's key table and alias table, that scheme active.
template <typename Check>
void ForBothSchemes(Check check) {
  {
    SCOPED_TRACE("classic key scheme");
    extendedKeys = 0;
    check(kClassicKeyTable, kClassicAliasTable);
  }
  {
    SCOPED_TRACE("extended key scheme");
    extendedKeys = 1;
    check(kExtendedKeyTable, kExtendedAliasTable);
  }
}

inline std::string Utf8(std::u16string_view text) {
  return support::ToUtf8(text);
}

inline std::string Hex(int32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, code < 0 ? "%d" : "0x%x", code);
  return text;
}

}  // namespace testing_support
