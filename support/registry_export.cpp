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
// else as "hex(type):". Reading takes UTF-8 with or without a byte-order
// mark and UTF-16LE with one, with lines that end in CR LF, LF, or (in a
// text without LF) CR, and refuses only text that does not begin with the
// header. A value's line that ends in a backslash continues on the next, as
// the registry editor wraps long values. Every line is kept as it stood, so
// that a save changes only the values set since: a line that cannot be read,
// a comment, and a section of another root with its lines are written back
// untouched.
#include "support/registry_export.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>

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

std::string ValueLine(const Value& value) {
  std::string text = value.name.empty() ? std::string("@") : Quote(ToUtf8(value.name));
  text += '=';
  AppendData(text, value);
  return text + "\r\n";
}

// The text as UTF-8: a UTF-8 byte-order mark dropped, UTF-16LE after its
// mark decoded (an odd last byte dropped).
std::string Decoded(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  if (!bytes.starts_with("\xFF\xFE")) return std::string(bytes);
  std::u16string units(bytes.size() / 2 - 1, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i + 2]) |
                                     static_cast<uint8_t>(bytes[2 * i + 3]) << 8);
  }
  return ToUtf8(units);
}

// The lines, without their ends. A last line without an end counts only
// when it is not empty, so that text written back line by line reads as the
// same lines.
std::vector<std::string_view> Lines(std::string_view text) {
  const char end = text.find('\n') != text.npos ? '\n' : '\r';
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t stop = std::min(text.find(end, start), text.size());
    std::string_view line = text.substr(start, stop - start);
    if (end == '\n' && line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    start = stop + 1;
  }
  return lines;
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
  return store.keys.try_emplace(Folded(path), Key{std::u16string(path), {}}).first->second;
}

std::optional<Store> ParseExport(std::string_view bytes, std::string_view root) {
  if (bytes.size() > kMaxFileSize) return {};
  const std::string text = Decoded(bytes);
  const std::vector<std::string_view> lines = Lines(text);
  if (lines.empty() || Trim(lines[0]) != kHeader) return {};
  Store store;
  std::optional<std::u16string> key;  // the folded path of the root's section read
  for (size_t i = 1; i < lines.size(); ++i) {
    Line line{std::string(lines[i]), {}, {}};
    std::string logical(Trim(lines[i]));
    // A continuation stops at a blank line or a section, which a value's
    // bytes never are, so that a value cut short costs only itself.
    while ((logical.starts_with('"') || logical.starts_with('@')) && logical.ends_with('\\') &&
           i + 1 < lines.size() && !Trim(lines[i + 1]).empty() &&
           !Trim(lines[i + 1]).starts_with('[')) {
      logical.pop_back();
      logical += Trim(lines[++i]);
      line.text.append("\r\n").append(lines[i]);
    }
    Value value;
    if (logical.starts_with('[')) {
      const std::optional<std::u16string> path = ParseSection(logical, root);
      key = path ? std::optional(Folded(*path)) : std::nullopt;
      if (path) AddKey(store, *path);
      line.key = key;
    } else if (key && ParseValue(logical, value)) {
      line.key = key;
      line.value = Folded(value.name);
      value.asRead = true;
      store.keys[*key].values[*line.value] = std::move(value);
    }
    store.lines.push_back(std::move(line));
  }
  return store;
}

std::string WriteExport(const Store& store, std::string_view root) {
  std::map<std::u16string, size_t> ends;  // each key's last line read: its new values follow
  std::set<std::pair<std::u16string, std::u16string>> placed;  // values that have a line
  for (size_t i = 0; i < store.lines.size(); ++i) {
    const Line& line = store.lines[i];
    if (line.key) ends[*line.key] = i;
    if (line.key && line.value) placed.emplace(*line.key, *line.value);
  }
  const auto newValues = [&](const std::u16string& folded, const Key& key) {
    std::string lines;
    for (const auto& [name, value] : key.values) {
      if (!placed.contains({folded, name})) lines += ValueLine(value);
    }
    return lines;
  };

  std::string text = std::string(kHeader) + "\r\n";
  for (size_t i = 0; i < store.lines.size(); ++i) {
    const Line& line = store.lines[i];
    const auto key = line.key ? store.keys.find(*line.key) : store.keys.end();
    if (key == store.keys.end()) {
      text += line.text + "\r\n";
      continue;
    }
    const auto value = line.value ? key->second.values.find(*line.value) : key->second.values.end();
    const bool set = value != key->second.values.end() && !value->second.asRead;
    text += set ? ValueLine(value->second) : line.text + "\r\n";
    if (ends[key->first] == i) text += newValues(key->first, key->second);
  }
  // Keys without a section, each after a blank line, and a blank line at the end.
  bool blank = !store.lines.empty() && Trim(store.lines.back().text).empty();
  for (const auto& [folded, key] : store.keys) {
    if (ends.contains(folded)) continue;
    text.append(blank ? "[" : "\r\n[").append(root);
    if (!key.path.empty()) text.append("\\").append(ToUtf8(key.path));
    text += "]\r\n" + newValues(folded, key) + "\r\n";
    blank = true;
  }
  return text;
}

}  // namespace support::registry
