// TCC-like expansion of variable references and variable functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace host {

// Expands text into out:
//   %%            a single "%"
//   %name%, %name the variable's value (letters, digits, "_" and "$"; the
//                 closing "%" is optional, as in TCC); unknown names expand
//                 to nothing
//   %[name]       the variable named by the (expanded) text in brackets
//   %?            the exit code of the last command
//   %0 to %9      the running batch file's arguments
//   %@name[args]  a variable function: the plug-in's, then @CHAR and @LEN;
//                 args are expanded first
// Internal variables: _batch, _batchname, _batchline, _4ver, _transient,
// _pipe, _cwd, _cwds, _disk and _?; a variable that is set hides an internal
// variable of the same name. With nested expansion on (the default; SETDOS
// /X-4 turns it off) each value and function result is expanded again as it
// goes into the line, so "%%" in it becomes "%" and the references in it are
// expanded. Returns false when a function failed (it has written its own
// message), when the expansion would exceed 65,535 characters ("Command line
// too long") or when references and rescans nest more than 64 deep, or the
// rescans of the line would scan more than 65,536 characters ("Variables
// nested too deeply").
bool Expand(std::u16string_view text, std::u16string& out);

// The value of a variable, internal or set, or nothing when it is unknown.
std::optional<std::u16string> LookupVariable(std::u16string_view name);

}  // namespace host
