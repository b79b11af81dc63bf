// ParseKeyName on any text under both key schemes: a result is a code of the
// active key table or one of the three refusals; a code's name parses back to
// the same code; and the case of ASCII letters never matters.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "base/text.h"
#include "hotkey/host_version.h"
#include "hotkey/key_names.h"
#include "hotkey/settings.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using testing_support::Check;

void CheckUnderActiveScheme(const std::u16string& text) {
  const int32_t code = ParseKeyName(text.c_str());
  Check(code >= kCombinationNotAllowed, "ParseKeyName gave a result below -2");
  std::u16string upper = text;
  for (char16_t& c : upper) c = AsciiUpper(c);
  Check(ParseKeyName(upper.c_str()) == code, "the case of ASCII letters changed the code");
  if (code <= 0) return;
  Check(IsAcceptableHotkey(code), "ParseKeyName gave a code the key table does not hold");

  // The name's buffer with a guard after it.
  static struct {
    char16_t name[kMaxNameLen];
    char16_t guard[64];
  } buffer;
  std::fill(std::begin(buffer.name), std::end(buffer.name), u'Z');
  std::fill(std::begin(buffer.guard), std::end(buffer.guard), u'#');
  const int32_t saved = currentHotkey;
  currentHotkey = code;
  const int32_t formatted = FormatKeyName(buffer.name);
  currentHotkey = saved;
  for (const char16_t c : buffer.guard) Check(c == u'#', "FormatKeyName wrote past its buffer");
  const std::u16string_view written(buffer.name, kMaxNameLen);
  Check(written.find(u'\0') != written.npos, "FormatKeyName left no terminator");
  Check(formatted == 0, "a parsed code has no name");
  Check(ParseKeyName(buffer.name) == code, "the name of a parsed code parses to another code");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing_support::Input input(data, size);
  const std::u16string read = input.PaddedText(4 * kMaxNameLen);
  const std::u16string text(read.substr(0, read.find(u'\0')));
  const int32_t savedScheme = extendedKeys;
  for (const int32_t scheme : {0, 1}) {
    extendedKeys = scheme;
    CheckUnderActiveScheme(text);
  }
  extendedKeys = savedScheme;
  return 0;
}
