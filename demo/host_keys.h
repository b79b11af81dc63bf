// The host's codes for key presses: what the demo host reports to the
// plug-in's keystroke hook for each key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "demo/terminal_keys.h"

namespace demo {

// How a host reports keys. Hosts before version 24 give every key they know a
// code; later ones give some keys by label only.
enum class KeyScheme { kClassic, kExtended };

// The scheme of a host of the given version text ("33.00").
KeyScheme KeySchemeOfHostVersion(std::u16string_view version);

struct HostKey {
  // The host's code for the key, or 0 when it has none or gives only a label.
  int32_t code = 0;
  // The name of the combination ("Ctrl-Minus") for a key given by label only.
  std::u16string label;
};

// What the host reports for a key press. For Ctrl-Shift, Ctrl-Alt and
// Ctrl-Alt-Shift the code is that of a simpler combination of the same key;
// the hook adds the modifier bits itself from the keyboard state.
HostKey HostKeyOf(const KeyPress& press, KeyScheme scheme);

// The combination's name as key names are written ("Ctrl-Alt-U", "Shift-F1",
// "Ctrl-Minus"), or empty when no key name of the scheme covers it: Alt with
// Shift, Ctrl-Alt-Shift under the classic scheme, keys such as Tab, and
// characters without a key of their own.
std::u16string CombinationName(const KeyPress& press, KeyScheme scheme);

}  // namespace demo
