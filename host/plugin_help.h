// The shell's HELP and USAGE commands, answered by the loaded plug-in.
#pragma once

#include <string_view>

namespace host {

// HELP name: the plug-in's help for name (its Help export shows it). Without
// a name, lists the names that have help; for a name without help, says so
// and lists them. Returns 0, or 1 when name has no help.
int ShowHelp(std::u16string_view arguments);

// USAGE name: the syntax of name from the plug-in's Usage export. Without a
// name, lists the names that have a syntax. Returns 0, or 1 when name has no
// syntax.
int ShowUsage(std::u16string_view arguments);

}  // namespace host
