// Expected values for the fuzz targets, worked out from the rules the
// plug-in follows rather than by its own code: the character classes, the
// trimming and the quote rule written again from their definitions, Windows'
// conversions called directly, and a table of URL schemes of its own. A
// fault in the plug-in's version of a rule then shows as a difference.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace testing_support {

// White space: U+0009 to U+000D, U+0020, U+00A0, and above U+00FF what
// GetStringTypeW (CT_CTYPE1) marks C1_SPACE.
bool IsWhiteSpaceByRule(char16_t c);
// Control characters: U+0000 to U+001F, U+007F to U+009F, and above U+00FF
// what GetStringTypeW marks C1_CNTRL.
bool IsControlByRule(char16_t c);

// The argument as a variable function reads the host's buffer of MAX_ARG_LEN
// characters: up to its terminator, at most MAX_ARG_LEN - 1 characters, and
// where that limit cuts a surrogate pair in two, without the pair's first half.
std::u16string ArgumentAsRead(const char16_t* buffer);

// The text without white space at either end.
std::u16string TrimmedByRule(std::u16string_view text);
// The name in double quotes when it holds white space, a control character
// or one of < > | , ; &; otherwise the name.
std::u16string QuotedByRule(std::u16string_view name);
// Each "%%" as one "%", left to right; the kept "%" is not paired again.
std::u16string WithPercentPairsCollapsed(std::u16string_view text);
// Each "%" written twice, as the shell reads one "%" back from "%%".
std::u16string WithEachPercentDoubled(std::u16string_view text);

// What Windows' conversion gives with flags 0 and MAX_ARG_LEN characters of
// room: its result and the text it wrote (empty when it wrote none).
struct Conversion {
  platform::HRESULT result;
  std::u16string text;
};
Conversion WindowsPathOfUrl(std::u16string_view url);
Conversion WindowsUrlOfPath(std::u16string_view path);

// The kind @ISURL reports: 0 without a scheme (letters, digits, "+", "-"
// and "." after a first letter, two or more characters, then ":"), 1 to 7
// for HTTP, HTTPS, FTP, IFTP, TFTP, FTPS and IFTPS, 8 for any other scheme.
int UrlKindByScheme(std::u16string_view text);

}  // namespace testing_support
