// Reads a module's export and import tables from its file: PE for Windows
// DLLs, ELF for native shared objects.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

// The directory of the running test program, with a trailing separator.
std::string ProgramDirectory();
// The whole file, or nothing when it cannot be read.
std::vector<unsigned char> ReadFile(const std::string& path);

// Names of the functions and data a module exports. For ELF: the defined
// global and weak symbols of its dynamic symbol table.
std::set<std::string> ExportedNames(const std::vector<unsigned char>& image);
// PE only: for each imported DLL (upper-cased), the names imported from it.
std::map<std::string, std::set<std::string>> ImportedNames(const std::vector<unsigned char>& image);

}  // namespace testing_support
