// The registry editor's export format, version 5.00, written as UTF-8 text
// with CR LF line ends, so that a terminal shows it as it is and a file of
// ASCII imports unchanged:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\RUDadurad\Marivex]
//   "Hotkey"=dword:00050016
//
// A REG_DWORD of four bytes is written as "dword:", a REG_SZ of printable
// ASCII and one terminator as a quoted text, REG_BINARY as "hex:", anything
// else as "hex(type):". Reading refuses only text that does not begin with
// the header; a line it cannot read, and a section of another root with its
// values, are skipped.
#include "support/registry_export.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "support/utf.h"

namespace support::registry {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

std::string_view Trim(std::string_view text) {
  const size_t first = std::min(text.find_first_not_of(" \t\r"), text.size());
  return text.substr(first, text.find_last_not_of(" \t\r") + 1 - first);
}

// One to `digits` hexadecimal digits, blanks aside.
template <typename Number>
std::optional<Number> ParseHex(std::string_view text, size_t digits) {
  text = Trim(text);
  Number number = 0;
  const char* end = std::from_chars(text.data(), text.data() + text.size(), number, 16).ptr;
  if (text.empty() || text.size() > digits || end != text.data() + text.size()) return {};
  return number;
}

// A quoted text at the start of `text`, with \\ and \" inside; on success
// `text` is left after it.
std::optional<std::string> Unquote(std::string_view& text) {
  std::string result;
  for (size_t i = 1; text.starts_with('"') && i < text.size(); ++i) {
    if (text[i] == '"') {
      text.remove_prefix(i + 1);
      return result;
    }
    if (text[i] == '\\' && (++i == text.size() || (text[i] != '\\' && text[i] != '"'))) break;
    result += text[i];
  }
  return std::nullopt;
}

std::string Quote(std::string_view text) {
  std::string result = "\"";
  for (const char c : text) result.append(c == '\\' || c == '"' ? "\\" : "").push_back(c);
  return result + '"';
}

// One number in a printf format.
std::string Formatted(const char* format, uint32_t number) {
  char text[24];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

// "name"=data or @=data, where data is a quoted text, "dword:" and a number,
// or bytes after "hex:" or "hex(type):".
bool ParseValue(std::string_view text, Value& value) {
  const bool isDefault = text.starts_with('@');
  const std::optional<std::string> name = isDefault ? std::string() : Unquote(text);
  text = Trim(text.substr(isDefault ? 1 : 0));
  if (!name || !text.starts_with('=')) return false;
  value.name = ToUtf16(*name);
  text = Trim(text.substr(1));
  if (const std::optional<std::string> quoted = Unquote(text)) {
    value.type = kRegSz;
    for (const char16_t c : ToUtf16(*quoted) + u'\0') {
      value.data.insert(value.data.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    }
    return Trim(text).empty();
  }
  const size_t colon = std::min(text.find(':'), text.size());
  const std::string_view kind = text.substr(0, colon);
  const std::string_view bytes = text.substr(std::min(colon + 1, text.size()));
  if (kind == "dword") {
    const std::optional<uint32_t> number = ParseHex<uint32_t>(bytes, 8);
    value.type = kRegDword;
    for (int shift = 0; number && shift < 32; shift += 8) value.data.push_back(*number >> shift);
    return number.has_value();
  }
  const bool typed = kind.starts_with("hex(") && kind.ends_with(')');
  const std::optional<uint32_t> type =
      typed ? ParseHex<uint32_t>(kind.substr(4, kind.size() - 5), 8) : kRegBinary;
  if (!type || (!typed && kind != "hex") || colon == text.size()) return false;
  value.type = *type;
  const bool none = Trim(bytes).empty();
  for (size_t start = 0; !none && start <= bytes.size();) {
    const size_t comma = std::min(bytes.find(',', start), bytes.size());
    const std::optional<uint8_t> byte = ParseHex<uint8_t>(bytes.substr(start, comma - start), 2);
    if (!byte) return false;
    value.data.push_back(*byte);
    start = comma + 1;
  }
  return true;
}

// "[ROOT\path]" gives the path when ROOT is the file's root and no name in
// the path is empty; a section to delete, "[-...]", names no root.
std::optional<std::u16string> ParseSection(std::string_view line, std::string_view root) {
  const std::u16string name = ToUtf16(root);
  const std::u16string inner = ToUtf16(line.substr(1, line.size() - 2));
  if (!line.ends_with(']') || Folded(inner.substr(0, name.size())) != name) return std::nullopt;
  if (inner.size() == name.size()) return u"";
  const std::u16string path = inner.substr(name.size() + 1);
  if (inner[name.size()] != u'\\' || (u'\\' + path + u'\\').find(u"\\\\") != path.npos) return {};
  return path;
}

void AppendData(std::string& text, const Value& value) {
  const std::vector<uint8_t>& data = value.data;
  std::string plain;  // a REG_SZ of printable ASCII and one terminator, as text
  bool isPlain = value.type == kRegSz && data.size() >= 2 && data.size() % 2 == 0 &&
                 data[data.size() - 2] == 0 && data.back() == 0;
  for (size_t i = 0; isPlain && i + 2 < data.size(); i += 2) {
    isPlain = data[i] >= 0x20 && data[i] <= 0x7E && data[i + 1] == 0;
    plain += static_cast<char>(data[i]);
  }
  if (value.type == kRegDword && data.size() == 4) {
    uint32_t number = 0;
    for (size_t i = 4; i-- > 0;) number = number << 8 | data[i];
    text += Formatted("dword:%08x", number);
  } else if (isPlain) {
    text += Quote(plain);
  } else {
    text += value.type == kRegBinary ? "hex:" : Formatted("hex(%x):", value.type);
    for (size_t i = 0; i < data.size(); ++i) text += Formatted(i == 0 ? "%02x" : ",%02x", data[i]);
  }
}

}  // namespace

// Folds the letters of ASCII and Latin-1, whose case Windows ignores in the
// names the plug-in and its tests use; other scripts compare exactly.
std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 0x20;
    if (c == 0xFF) c = 0x178;
  }
  return folded;
}

Key& AddKey(Store& store, std::u16string_view path) {
  return store.try_emplace(Folded(path), Key{std::u16string(path), {}}).first->second;
}

std::optional<Store> ParseExport(std::string_view text, std::string_view root) {
  if (text.size() > kMaxFileSize || Trim(text.substr(0, text.find('\n'))) != kHeader) return {};
  Store store;
  Key* key = nullptr;
  for (size_t end = text.find('\n'); end < text.size();) {
    const size_t start = end + 1;
    end = std::min(text.find('\n', start), text.size());
    const std::string_view line = Trim(text.substr(start, end - start));
    Value value;
    if (line.starts_with('[')) {
      const std::optional<std::u16string> path = ParseSection(line, root);
      key = path ? &AddKey(store, *path) : nullptr;
    } else if (key != nullptr && ParseValue(line, value)) {
      std::u16string folded = Folded(value.name);
      key->values[std::move(folded)] = std::move(value);
    }
  }
  return store;
}

std::string WriteExport(const Store& store, std::string_view root) {
  std::string text = std::string(kHeader) + "\r\n";
  for (const auto& [folded, key] : store) {
    text.append("\r\n[").append(root);
    if (!key.path.empty()) text.append("\\").append(ToUtf8(key.path));
    text += "]\r\n";
    for (const auto& [name, value] : key.values) {
      text += value.name.empty() ? std::string("@") : Quote(ToUtf8(value.name));
      text += '=';
      AppendData(text, value);
      text += "\r\n";
    }
  }
  return text + "\r\n";
}

}  // namespace support::registry
