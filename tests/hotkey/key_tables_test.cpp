// The codes of both key schemes' tables: what the hook can build and what a
// name can be given for.
#include <set>
#include <string>

#include "base/text.h"
#include "tests/hotkey/key_test_support.h"

namespace {

using testing_support::ForBothSchemes;
using testing_support::Hex;
using testing_support::KeySchemeTest;
using testing_support::Utf8;

using KeyTablesTest = KeySchemeTest;

// The key hook adds bit 17 for Ctrl-Shift and bit 18 for Ctrl-Alt (both for
// Ctrl-Alt-Shift) to the host's 17-bit code, so each column's codes carry
// exactly its bits. A code stands for one cell only, so that its name is
// unambiguous; the classic Ctrl-Shift-Num- and Ctrl-Shift-Num+ are the one
// exception, since the host does not tell them apart.
TEST_F(KeyTablesTest, CodesCarryTheirColumnBitsAndNameOneCell) {
  const int32_t columnBits[] = {0, 0, 0, 0, 0x20000, 0x40000, 0x60000};
  std::set<int32_t> shared[2];
  int scheme = 0;
  ForBothSchemes([&](const auto& keys, const auto&) {
    std::set<int32_t> seen;
    for (const auto& row : keys) {
      for (size_t c = 0; c < CountOf(row.codes); ++c) {
        const int32_t code = row.codes[c];
        SCOPED_TRACE(Utf8(row.name) + " column " + std::to_string(c) + " " + Hex(code));
        if (code <= 0) {
          EXPECT_TRUE(code == -1 || code == -2);
          continue;
        }
        EXPECT_EQ(code & ~0x1FFFF, columnBits[c]);
        if (!seen.insert(code).second) shared[scheme].insert(code);
      }
    }
    ++scheme;
  });
  EXPECT_EQ(shared[0], std::set<int32_t>{0x3004a});
  EXPECT_EQ(shared[1], std::set<int32_t>{});
}

// The host gives Ctrl-Alt-Shift the code of Ctrl-Alt for every key but B, so
// the Ctrl-Alt-Shift column is the Ctrl-Alt column with Shift's bit added.
TEST_F(KeyTablesTest, CtrlAltShiftCodesFollowCtrlAlt) {
  for (const ExtendedKeyRow& row : kExtendedKeyTable) {
    const int32_t ctrlAlt = row.codes[kCtrlAltColumn];
    if (ctrlAlt <= 0 || std::u16string_view(row.name) == u"B") continue;
    EXPECT_EQ(row.codes[kCtrlAltShiftColumn], ctrlAlt + 0x20000) << Utf8(row.name);
  }
}

}  // namespace
