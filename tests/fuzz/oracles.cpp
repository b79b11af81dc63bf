#include "tests/fuzz/oracles.h"

#include <vector>

#include "base/text.h"

namespace testing_support {

namespace {

constexpr char16_t kNoClass = 0xFFFF;

platform::WORD WindowsType(char16_t c) {
  platform::WORD type = 0;
  if (c == kNoClass || !platform::GetStringTypeW(platform::CT_CTYPE1, &c, 1, &type)) return 0;
  return type;
}

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Calls one of Windows' two conversions with a buffer of MAX_ARG_LEN.
template <typename Convert>
Conversion Converted(std::u16string_view input, Convert convert) {
  const std::u16string terminated(input);
  std::vector<char16_t> output(MAX_ARG_LEN, u'\0');
  platform::DWORD length = MAX_ARG_LEN;
  const platform::HRESULT result = convert(terminated.c_str(), output.data(), &length, 0);
  output.back() = u'\0';
  return {result, output.data()};
}

}  // namespace

bool IsWhiteSpaceByRule(char16_t c) {
  if (c > 0xFF) return (WindowsType(c) & platform::C1_SPACE) != 0;
  return c == 0x20 || c == 0xA0 || (c >= 0x09 && c <= 0x0D);
}

bool IsControlByRule(char16_t c) {
  if (c > 0xFF) return (WindowsType(c) & platform::C1_CNTRL) != 0;
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

std::u16string ArgumentAsRead(const char16_t* buffer) {
  constexpr size_t kLast = MAX_ARG_LEN - 1;
  std::u16string_view read(buffer, kLast);
  read = read.substr(0, read.find(u'\0'));
  const bool pairCut = read.size() == kLast && buffer[kLast] >= 0xDC00 && buffer[kLast] <= 0xDFFF &&
                       read.back() >= 0xD800 && read.back() <= 0xDBFF;
  if (pairCut) read.remove_suffix(1);
  return std::u16string(read);
}

std::u16string TrimmedByRule(std::u16string_view text) {
  while (!text.empty() && IsWhiteSpaceByRule(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpaceByRule(text.back())) text.remove_suffix(1);
  return std::u16string(text);
}

std::u16string QuotedByRule(std::u16string_view name) {
  for (const char16_t c : name) {
    if (IsWhiteSpaceByRule(c) || IsControlByRule(c) ||
        std::u16string_view(u"<>|,;&").find(c) != std::u16string_view::npos) {
      return u"\"" + std::u16string(name) + u"\"";
    }
  }
  return std::u16string(name);
}

std::u16string WithPercentPairsCollapsed(std::u16string_view text) {
  std::u16string collapsed;
  for (size_t i = 0; i < text.size(); ++i) {
    collapsed += text[i];
    if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] == u'%') ++i;
  }
  return collapsed;
}

std::u16string WithEachPercentDoubled(std::u16string_view text) {
  std::u16string doubled;
  for (const char16_t c : text) {
    doubled += c;
    if (c == u'%') doubled += c;
  }
  return doubled;
}

Conversion WindowsPathOfUrl(std::u16string_view url) {
  return Converted(url, &platform::PathCreateFromUrlW);
}

Conversion WindowsUrlOfPath(std::u16string_view path) {
  return Converted(path, &platform::UrlCreateFromPathW);
}

int UrlKindByScheme(std::u16string_view text) {
  const size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos || colon < 2) return 0;
  std::string scheme;
  for (size_t i = 0; i < colon; ++i) {
    const char16_t c = text[i];
    const bool allowedLater = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
    if (!IsAsciiLetter(c) && (i == 0 || !allowedLater)) return 0;
    scheme += static_cast<char>(IsAsciiLetter(c) ? (c | 0x20) : c);
  }
  static const struct {
    const char* scheme;
    int kind;
  } kKinds[] = {{"http", 1}, {"https", 2}, {"ftp", 3},  {"iftp", 4},
                {"tftp", 5}, {"ftps", 6},  {"iftps", 7}};
  for (const auto& known : kKinds) {
    if (scheme == known.scheme) return known.kind;
  }
  return 8;
}

}  // namespace testing_support
