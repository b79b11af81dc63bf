// What the module offers a host by name, and, for Marivex.dll, what it
// imports: nothing but the host's seven functions and Windows' own DLLs.
#include <gtest/gtest.h>

#include <string>

#include "tests/fixtures/module_image.h"

namespace {

TEST(ExportsTest, ExactlyTheHostEntryPoints) {
  const std::set<std::string> expected = {
      "GetPluginInfo",  "InitializePlugin",
      "ShutdownPlugin",  // life cycle
      "f_file2uri",     "f_file2uris",
      "f_isurl",        "f_uri2file",  // variable functions
      "marivexkey",     "key",         // command, keystroke hook
      "Usage",          "Help",        // syntax and help
  };
  EXPECT_EQ(testing_support::PluginExports(), expected);
}

#if defined(_WIN32)
TEST(ExportsTest, ImportsOnlyTheHostAndWindows) {
  const std::set<std::string> hostFunctions = {"Printf",          "Qprintf",       "QPuts",
                                               "ExpandVariables", "QueryTrueName", "QueryIsURL",
                                               "ClearEditLine"};
  const std::set<std::string> systemDlls = {"KERNEL32.DLL", "USER32.DLL", "ADVAPI32.DLL",
                                            "SHLWAPI.DLL",  "WINMM.DLL",  "MSVCRT.DLL"};
  const auto imports = testing_support::PluginImports();
  ASSERT_FALSE(imports.empty());
  for (const auto& [dll, names] : imports) {
    SCOPED_TRACE(dll);
    if (dll == "TAKECMD.DLL") {
      for (const auto& name : names) EXPECT_TRUE(hostFunctions.count(name)) << name;
    } else {
      EXPECT_TRUE(systemDlls.count(dll) || dll.rfind("API-MS-WIN-", 0) == 0)
          << "imports a DLL that is not Windows' own";
    }
  }
}
#endif

}  // namespace
