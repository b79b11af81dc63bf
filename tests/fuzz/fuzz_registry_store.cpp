// The registry export reader on any text: it never reads outside it, and
// whatever it accepts writes back as an export that reads again as the same
// store and writes again as the same text.
#include <cstdint>
#include <string_view>

#include "support/registry_export.h"
#include "tests/fuzz/fuzz_support.h"

using support::registry::ParseExport;
using support::registry::WriteExport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses the file's root, so that sections of both are met.
  if (size == 0) return 0;
  const std::string_view root = (data[0] & 1) != 0 ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto store = ParseExport(text, root);
  if (!store) return 0;
  const std::string written = WriteExport(*store, root);
  const auto again = ParseExport(written, root);
  testing_support::Check(again.has_value() && *again == *store,
                         "a written store does not read back");
  testing_support::Check(again && WriteExport(*again, root) == written,
                         "a store read back does not write the same text");
  return 0;
}
