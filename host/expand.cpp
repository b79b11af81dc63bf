#include "host/expand.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/loader.h"
#include "host/output.h"
#include "host/state.h"
#include "host/takecmd.h"

namespace host {

namespace {

// Plug-in variable functions get the host's argument buffer of this size.
constexpr size_t kArgumentBufferLength = 8192;
// A plug-in passes buffers of 1,024 or 8,192 characters to ExpandVariables
// without saying which. The host writes as much as the expansion yields, up
// to the larger, as a real host may: a plug-in must hand it 8,192 characters
// of room wherever the text can hold a variable a user sets.
constexpr size_t kExpandVariablesCapacity = 8192;
// The longest expanded command line, as TCC's line buffer of 65,536 holds it.
// Without a bound, a variable set to itself twice over, or a batch file that
// calls itself by its name twice over, doubles in length with every step
// until memory runs out.
constexpr size_t kMaxExpandedLength = 65535;
// The deepest nesting of references and rescanned values, far beyond any
// real line.
constexpr int kMaxNesting = 64;
// The most characters of values and results that the expansion of one line
// scans again, a line's worth: a line that fits rescans little more than its
// own length, unless its values name other values many times over.
constexpr size_t kMaxRescanned = 65536;

bool IsNameCharacter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'$';
}

std::u16string Decimal(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string CurrentDirectory() {
  const ShellState& state = State();
  const auto found = state.directories.find(state.drive);
  std::u16string path{state.drive, u':'};
  path += found != state.directories.end() && !found->second.empty() ? found->second : u"\\";
  return path;
}

std::optional<std::u16string> InternalVariable(const std::u16string& upper) {
  const ShellState& state = State();
  if (upper == u"_BATCH") return Decimal(static_cast<long long>(state.batches.size()));
  if (upper == u"_BATCHNAME") return state.batches.empty() ? u"" : state.batches.back().name;
  if (upper == u"_BATCHLINE")
    return Decimal(state.batches.empty() ? -1 : state.batches.back().line);
  if (upper == u"_4VER") {
    if (!state.hasVersion) return std::nullopt;
    return state.version;
  }
  if (upper == u"_TRANSIENT") return state.transient ? u"1" : u"0";
  if (upper == u"_PIPE") return state.pipe ? u"1" : u"0";
  if (upper == u"_CWD") return CurrentDirectory();
  if (upper == u"_CWDS") {
    std::u16string path = CurrentDirectory();
    if (path.back() != u'\\') path += u'\\';
    return path;
  }
  if (upper == u"_DISK") return std::u16string(1, state.drive);
  if (upper == u"_?") return Decimal(state.lastExitCode);
  return std::nullopt;
}

// The value of a variable that is set, where it is stored, or null.
const std::u16string* SetVariableValue(std::u16string_view name) {
  const auto& variables = State().variables;
  const auto found = variables.find(UpperAscii(name));
  return found != variables.end() ? &found->second.second : nullptr;
}

// Refuses an expansion past the longest command line, with TCC's message.
bool TooLong(const std::u16string& expanded) {
  if (expanded.size() <= kMaxExpandedLength) return false;
  Write(HOST_STDERR, u"Command line too long\r\n");
  return true;
}

bool CallPluginFunction(VariableFunction function, const std::u16string& arguments,
                        std::u16string& result) {
  if (arguments.size() >= kArgumentBufferLength) {
    Write(HOST_STDERR, u"Function argument too long\r\n");
    return false;
  }
  char16_t buffer[kArgumentBufferLength] = {};
  CopyOut(arguments, buffer, kArgumentBufferLength);
  if (function(buffer) != 0) return false;
  size_t length = 0;
  while (length < kArgumentBufferLength && buffer[length] != u'\0') ++length;
  result.assign(buffer, length);
  return true;
}

// @CHAR[n ...]: the characters with the given codes, decimal or 0x hex.
std::u16string CharFunction(const std::u16string& arguments) {
  std::u16string result;
  size_t i = 0;
  while (i < arguments.size()) {
    while (i < arguments.size() && arguments[i] == u' ') ++i;
    unsigned long code = 0;
    unsigned base = 10;
    if (i + 1 < arguments.size() && arguments[i] == u'0' && (arguments[i + 1] | 0x20) == u'x') {
      base = 16;
      i += 2;
    }
    bool any = false;
    for (; i < arguments.size(); ++i) {
      const char16_t c = arguments[i];
      unsigned digit = 0;
      if (c >= u'0' && c <= u'9')
        digit = c - u'0';
      else if (base == 16 && (c | 0x20) >= u'a' && (c | 0x20) <= u'f')
        digit = (c | 0x20) - u'a' + 10;
      else
        break;
      code = code * base + digit;
      if (code > 0xFFFF) code = 0xFFFF;
      any = true;
    }
    if (!any) break;
    result += static_cast<char16_t>(code);
  }
  return result;
}

bool CallFunction(std::u16string_view name, const std::u16string& arguments,
                  std::u16string& result) {
  if (const VariableFunction function = FindVariableFunction(name)) {
    return CallPluginFunction(function, arguments, result);
  }
  const std::u16string upper = UpperAscii(name);
  if (upper == u"CHAR") {
    result = CharFunction(arguments);
    return true;
  }
  if (upper == u"LEN") {
    result = Decimal(static_cast<long long>(arguments.size()));
    return true;
  }
  Write(HOST_STDERR, u"Unknown function \"@" + std::u16string(name) + u"\"\r\n");
  return false;
}

// What the expansion of one line shares across its nested texts: how many
// characters of inserted values and results it has scanned again.
struct Rescans {
  size_t scanned = 0;
};

// One text being expanded. References nest ("%[%[name]]",
// "%@len[%@len[x]]") and each level is expanded by a call of its own, so the
// depth is bounded: a short line of nothing but openings would otherwise run
// the stack out. The brackets are matched once, for the whole text: the
// brackets inside a reference are balanced, so each one closes where it
// would in the reference's own text, and a line of unclosed "%[" costs no
// more than one pass.
//
// With nested expansion on (the default, as in TCC), a variable's value and
// a function's result are scanned again as they go into the line: "%%" in
// them becomes one "%" and every other reference is expanded in turn, one
// level deeper. A variable whose value names itself therefore stops at the
// nesting bound rather than running for ever.
class Expansion {
 public:
  Expansion(std::u16string_view text, Rescans& rescans) : text_(text), rescans_(rescans) {
    if (text.find(u'[') != std::u16string_view::npos) MatchBrackets();
  }

  // Appends the expansion of the whole text to out.
  bool Run(int depth, std::u16string& out) { return ExpandRange(0, text_.size(), depth, out); }

 private:
  void MatchBrackets() {
    closing_.assign(text_.size(), std::u16string_view::npos);
    std::vector<size_t> open;
    for (size_t i = 0; i < text_.size(); ++i) {
      if (text_[i] == u'[') {
        open.push_back(i);
      } else if (text_[i] == u']' && !open.empty()) {
        closing_[open.back()] = i;
        open.pop_back();
      }
    }
  }

  // The "]" that closes the "[" at open, or npos.
  size_t ClosingBracket(size_t open) const {
    return open < closing_.size() ? closing_[open] : std::u16string_view::npos;
  }

  // Refuses the expansion with TCC's message; always false.
  static bool NestedTooDeeply() {
    Write(HOST_STDERR, u"Variables nested too deeply\r\n");
    return false;
  }

  // Expands the reference's text from begin to end one level deeper than
  // depth, into out, which starts empty.
  bool ExpandInner(size_t begin, size_t end, int depth, std::u16string& out) const {
    out.clear();
    if (depth + 1 > kMaxNesting) return NestedTooDeeply();
    return ExpandRange(begin, end, depth + 1, out);
  }

  // Puts a value or a result into the line: as it stands when nested
  // expansion is off or when it holds no "%", otherwise scanned again one
  // level deeper. The rescans of one line together scan at most
  // kMaxRescanned characters: values that name each other two or more times
  // each multiply the work with every level without lengthening the line.
  bool Insert(std::u16string_view value, int depth, std::u16string& out) const {
    if (!State().nestedExpansion || value.find(u'%') == std::u16string_view::npos) {
      out += value;
      return true;
    }
    rescans_.scanned += value.size();
    if (depth + 1 > kMaxNesting || rescans_.scanned > kMaxRescanned) return NestedTooDeeply();
    return Expansion(value, rescans_).Run(depth + 1, out);
  }

  // Puts a variable's value into the line, or nothing when it is unknown. A
  // set variable's value is read where it is stored: the rescans of one line
  // may read the same values many thousands of times.
  bool InsertVariable(std::u16string_view name, int depth, std::u16string& out) const {
    if (const std::u16string* value = SetVariableValue(name)) return Insert(*value, depth, out);
    return Insert(LookupVariable(name).value_or(u""), depth, out);
  }

  // Appends the expansion of the text from begin to end to out.
  bool ExpandRange(size_t begin, size_t end, int depth, std::u16string& out) const {
    const std::u16string_view text = text_;
    size_t i = begin;
    while (i < end) {
      if (TooLong(out)) return false;
      const char16_t c = text[i];
      if (c != u'%' || i + 1 >= end) {
        // Plain text up to the next "%" goes in at once.
        const size_t plainEnd = std::min(text.substr(0, end).find(u'%', i + 1), end);
        out.append(text.substr(i, plainEnd - i));
        i = plainEnd;
        continue;
      }
      const char16_t next = text[i + 1];
      if (next == u'%') {
        out += u'%';
        i += 2;
      } else if (next == u'?') {
        out += Decimal(State().lastExitCode);
        i += 2;
      } else if (next >= u'0' && next <= u'9') {
        const ShellState& state = State();
        const size_t index = next - u'0';
        if (!state.batches.empty() && index < state.batches.back().arguments.size() &&
            !Insert(state.batches.back().arguments[index], depth, out)) {
          return false;
        }
        i += 2;
      } else if (next == u'[') {
        const size_t close = ClosingBracket(i + 1);
        if (close >= end) {
          out += c;
          ++i;
          continue;
        }
        std::u16string name;
        if (!ExpandInner(i + 2, close, depth, name) || !InsertVariable(name, depth, out)) {
          return false;
        }
        i = close + 1;
      } else if (next == u'@') {
        size_t nameEnd = i + 2;
        while (nameEnd < end && IsNameCharacter(text[nameEnd])) ++nameEnd;
        const size_t close = nameEnd < end && text[nameEnd] == u'[' ? ClosingBracket(nameEnd)
                                                                    : std::u16string_view::npos;
        if (nameEnd == i + 2 || close >= end) {
          out += c;
          ++i;
          continue;
        }
        std::u16string arguments;
        std::u16string result;
        if (!ExpandInner(nameEnd + 1, close, depth, arguments) ||
            !CallFunction(text.substr(i + 2, nameEnd - i - 2), arguments, result) ||
            !Insert(result, depth, out)) {
          return false;
        }
        i = close + 1;
      } else if (IsNameCharacter(next)) {
        size_t nameEnd = i + 1;
        while (nameEnd < end && IsNameCharacter(text[nameEnd])) ++nameEnd;
        if (!InsertVariable(text.substr(i + 1, nameEnd - i - 1), depth, out)) {
          return false;
        }
        i = nameEnd < end && text[nameEnd] == u'%' ? nameEnd + 1 : nameEnd;
      } else {
        out += c;
        ++i;
      }
    }
    return !TooLong(out);
  }

  std::u16string_view text_;
  Rescans& rescans_;
  std::vector<size_t> closing_;
};

}  // namespace

// A variable that is set hides an internal variable of the same name, as in TCC.
std::optional<std::u16string> LookupVariable(std::u16string_view name) {
  if (const std::u16string* value = SetVariableValue(name)) return *value;
  if (name.empty() || name[0] != u'_') return std::nullopt;
  return InternalVariable(UpperAscii(name));
}

bool Expand(std::u16string_view text, std::u16string& out) {
  out.clear();
  Rescans rescans;
  return Expansion(text, rescans).Run(0, out);
}

}  // namespace host

extern "C" {

int ExpandVariables(char16_t* buffer, int /*flag*/) {
  if (buffer == nullptr) return 1;
  size_t length = 0;
  while (length < host::kExpandVariablesCapacity && buffer[length] != u'\0') ++length;
  std::u16string expanded;
  if (!host::Expand(std::u16string_view(buffer, length), expanded)) return 1;
  host::CopyOut(expanded, buffer, host::kExpandVariablesCapacity);
  return 0;
}

int HostExpand(const char16_t* text, char16_t* out, size_t capacity) {
  if (text == nullptr || out == nullptr) return 0;
  std::u16string expanded;
  if (!host::Expand(text, expanded)) return 0;
  host::CopyOut(expanded, out, capacity);
  return 1;
}

}  // extern "C"
