// Canonical Windows file names, against the shell's own current drive and
// directories. Nothing is looked up on disk: the file need not exist.
#pragma once

#include <string>
#include <string_view>

namespace host {

// The canonical full path of name: double quotes dropped, "/" read as "\",
// relative names resolved against the current drive and directory, "." and
// ".." (and TCC's "...", two levels up, and so on) applied, repeated
// separators collapsed, the drive letter upper-cased, a trailing separator
// dropped except after a root, and trailing dots and blanks dropped from the
// last component as Windows does. UNC names keep their \\server\share root;
// names beginning "\\?\" or "\\.\" are returned as they stand.
std::u16string CanonicalName(std::u16string_view name);

}  // namespace host
