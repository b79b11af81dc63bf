// The plug-in module's export and import tables, as the module file beside
// the test program holds them.
#pragma once

#include <map>
#include <set>
#include <string>

namespace testing_support {

// The names of the functions and data the plug-in's module exports: in the
// Windows build its export table, natively the defined global and weak
// symbols of its dynamic symbol table.
std::set<std::string> PluginExports();

#if defined(_WIN32)
// For each DLL the plug-in's module imports (upper-cased), the names it
// imports from it.
std::map<std::string, std::set<std::string>> PluginImports();
#endif

}  // namespace testing_support
