// The host's codes for key presses: what the demo host reports to the
// plug-in's keystroke hook for each key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "demo/terminal_keys.h"

namespace demo {

// How a host reports keys: hosts before version 24 give every key they know a
// code, later ones give some keys by label only.
enum class KeyScheme { kClassic, kExtended };

KeyScheme KeySchemeOfHostVersion(std::u16string_view version);

struct HostKey {
  int32_t code = 0;      // 0 when the host has none or gives only a label
  std::u16string label;  // the combination's name, for a key given by label only
};

HostKey HostKeyOf(const KeyPress& press, KeyScheme scheme);

// The combination's name as key names are written ("Ctrl-Alt-U", "Shift-F1",
// "Ctrl-Minus"), or empty when no key name of the scheme covers it.
std::u16string CombinationName(const KeyPress& press, KeyScheme scheme);

}  // namespace demo
