// Reading, writing and running the URL conversion corpus.
#include "tests/platform/url_corpus.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <regex>
#include <sstream>
#include <utility>

#include "tests/fixtures/guarded_buffer.h"

namespace testing_support {

namespace {

using platform::DWORD;
using platform::HRESULT;

// The longest run a row may ask for, to keep a typo from exhausting memory.
constexpr size_t kMaxRepeat = 1'000'000;
// Runs at least this long are written as repetitions.
constexpr size_t kMinFoldedRun = 16;

struct NamedResult {
  const char* name;
  HRESULT value;
};
constexpr NamedResult kResultNames[] = {
    {"S_OK", platform::S_OK},
    {"S_FALSE", platform::S_FALSE},
    {"E_POINTER", platform::E_POINTER},
    {"E_INVALIDARG", platform::E_INVALIDARG},
    {"E_OUTOFMEMORY", platform::E_OUTOFMEMORY},
};

std::string FormatResultCode(HRESULT value) {
  for (const auto& named : kResultNames) {
    if (named.value == value) return named.name;
  }
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

template <typename Number>
bool ParseNumber(std::string_view word, Number& value, int base = 10) {
  if (word.empty()) return false;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  return error == std::errc() && end == word.data() + word.size();
}

bool ParseResultCode(std::string_view word, HRESULT& value) {
  for (const auto& named : kResultNames) {
    if (word == named.name) {
      value = named.value;
      return true;
    }
  }
  uint32_t bits = 0;
  if (word.size() != 10 || !word.starts_with("0x") || !ParseNumber(word.substr(2), bits, 16)) {
    return false;
  }
  value = static_cast<HRESULT>(bits);
  return true;
}

bool IsPlain(char16_t c) {
  return c >= 0x20 && c <= 0x7E && c != u'"' && c != u'{';
}

// A code unit as the corpus escapes it, without the braces.
std::string Escaped(char16_t c) {
  char text[12];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

// How a row is written: FUNCTION[(OPTION)] INPUT [=> RESULTS [wine: varies|RESULTS]]
// [# COMMENT], where RESULTS is an outcome and, optionally, "| cap N =>" and
// the outcome of the too-small call, and an outcome is "HRESULT LENGTH OUTPUT".
const std::string kOutcome = R"((\S+) (\d+|-) ("[^"]*"|untouched|unterminated|-))";
const std::string kResults = kOutcome + R"((?: \| cap (\d+) => )" + kOutcome + ")?";
const std::regex kRow(R"((url|path)(?:\((out=null|length=null|cap=\d+)\))? (null|"[^"]*"))" +
                      ("(?: => " + kResults + "(?: wine: (?:(varies)|" + kResults + "))?)?") +
                      R"((?: +(#.*))?)");
// The groups of a match of kRow; results take seven each.
constexpr int kFunction = 1, kOption = 2, kInput = 3, kWindows = 4, kVaries = 11, kWine = 12,
              kComment = 19;

constexpr std::pair<Output, const char*> kOutputNames[] = {
    {Output::Untouched, "untouched"}, {Output::Unterminated, "unterminated"}, {Output::None, "-"}};

bool ParseQuoted(const std::string& quoted, std::u16string& text) {
  return DecodeText(std::string_view(quoted).substr(1, quoted.size() - 2), text);
}

// Reads the outcome whose code is group `first` of the match.
bool ParseOutcome(const std::smatch& match, int first, Outcome& outcome) {
  const std::string length = match.str(first + 1);
  const std::string output = match.str(first + 2);
  outcome.hasLength = length != "-";
  outcome.output = Output::Text;
  outcome.text.clear();
  for (const auto& [kind, name] : kOutputNames) {
    if (output == name) outcome.output = kind;
  }
  return ParseResultCode(match.str(first), outcome.result) &&
         (!outcome.hasLength || ParseNumber(length, outcome.length)) &&
         (outcome.output != Output::Text || ParseQuoted(output, outcome.text));
}

// Reads the results whose first code is group `first` of the match.
bool ParseResults(const std::smatch& match, int first, Results& results) {
  results.hasShort = match[first + 3].matched;
  return ParseOutcome(match, first, results.full) &&
         (!results.hasShort || (ParseNumber(match.str(first + 3), results.shortCapacity) &&
                                ParseOutcome(match, first + 4, results.shortCall)));
}

bool ParseRow(const std::string& line, Row& row, std::string& error) {
  std::smatch match;
  if (!std::regex_match(line, match, kRow)) {
    error = "not a row: FUNCTION INPUT => RESULT | cap N => RESULT";
    return false;
  }
  const std::string option = match.str(kOption);
  row.call.function = match.str(kFunction) == "url" ? Function::UrlFromPath : Function::PathFromUrl;
  row.hasOption = match[kOption].matched;
  row.call.nullOutput = option == "out=null";
  row.call.nullLength = option == "length=null";
  row.call.nullInput = match.str(kInput) == "null";
  row.pending = !match[kWindows].matched;
  row.wineVaries = match[kVaries].matched;
  row.comment = match.str(kComment);
  if ((option.starts_with("cap=") && !ParseNumber(option.substr(4), row.call.capacity)) ||
      (!row.call.nullInput && !ParseQuoted(match.str(kInput), row.call.input)) ||
      (!row.pending && !ParseResults(match, kWindows, row.windows))) {
    error = "an unknown result code, a number out of range or a malformed string";
    return false;
  }
  if (match[kWine].matched && !ParseResults(match, kWine, row.wine.emplace())) {
    error = "an unknown result code, a number out of range or a malformed string in Wine's results";
    return false;
  }
  if (row.hasOption && (row.windows.hasShort || (row.wine && row.wine->hasShort))) {
    error = "a row with an option has no too-small call";
    return false;
  }
  return true;
}

std::string FormatResults(const Results& results) {
  std::string out = FormatOutcome(results.full);
  if (results.hasShort) {
    out += " | cap " + std::to_string(results.shortCapacity) + " => ";
    out += FormatOutcome(results.shortCall);
  }
  return out;
}

}  // namespace

bool DecodeText(std::string_view quoted, std::u16string& text) {
  // A plain character (printable ASCII but '"' and '{'), or a code unit
  // {U+XXXX}, or a repetition {N*U+XXXX} or {N*TEXT}.
  static const std::regex kPiece(
      R"([ !#-z|}~]|\{(?:(\d+)\*)?(?:U\+([0-9A-Fa-f]{4})|([ !#-z|~]+))\})");
  text.clear();
  for (auto at = quoted.begin(); at != quoted.end();) {
    std::match_results<std::string_view::const_iterator> piece;
    size_t count = 1;
    if (!std::regex_search(at, quoted.end(), piece, kPiece,
                           std::regex_constants::match_continuous) ||
        (piece[1].matched && (!ParseNumber(piece.str(1), count) || count > kMaxRepeat)) ||
        (piece[3].matched && !piece[1].matched)) {
      return false;
    }
    std::u16string unit(piece[0].first, piece[0].second);
    if (piece[2].matched) unit = static_cast<char16_t>(std::stoul(piece.str(2), nullptr, 16));
    if (piece[3].matched) unit.assign(piece[3].first, piece[3].second);
    for (size_t i = 0; i < count; ++i) text += unit;
    at = piece[0].second;
  }
  return true;
}

std::string EncodeText(std::u16string_view text) {
  std::string out = "\"";
  for (size_t at = 0; at < text.size();) {
    // The longest run from here of a unit of up to three characters (those of
    // two or three plain, without '}'), if that run is long enough to fold.
    size_t unit = 0;
    size_t count = 0;
    for (size_t length = 1; length <= 3 && at + length <= text.size(); ++length) {
      const std::u16string_view pattern = text.substr(at, length);
      if (length > 1 && !std::all_of(pattern.begin(), pattern.end(),
                                     [](char16_t c) { return IsPlain(c) && c != u'}'; })) {
        continue;
      }
      size_t repeats = 1;
      while (text.substr(at + repeats * length, length) == pattern) ++repeats;
      if (repeats * length >= kMinFoldedRun && repeats * length > count * unit) {
        unit = length;
        count = repeats;
      }
    }
    const char16_t c = text[at];
    if (unit == 0) {
      out += IsPlain(c) ? std::string(1, static_cast<char>(c)) : "{" + Escaped(c) + "}";
      ++at;
      continue;
    }
    out += "{" + std::to_string(count) + "*";
    out += unit == 1 && (!IsPlain(c) || c == u'}')
               ? Escaped(c)
               : std::string(text.begin() + at, text.begin() + at + unit);
    out += "}";
    at += unit * count;
  }
  return out + "\"";
}

std::string FormatOutcome(const Outcome& outcome) {
  std::string out = FormatResultCode(outcome.result);
  out += ' ';
  out += outcome.hasLength ? std::to_string(outcome.length) : "-";
  out += ' ';
  if (outcome.output == Output::Text) return out + EncodeText(outcome.text);
  for (const auto& [kind, name] : kOutputNames) {
    if (outcome.output == kind) out += name;
  }
  return out;
}

Corpus ParseCorpus(std::string_view text) {
  Corpus corpus;
  std::istringstream lines{std::string(text)};
  for (std::string line; std::getline(lines, line);) {
    if (line.ends_with('\r')) line.pop_back();
    Line& entry = corpus.lines.emplace_back(Line{line, std::nullopt});
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    Row row;
    row.line = static_cast<int>(corpus.lines.size());
    std::string error;
    if (ParseRow(line, row, error)) {
      entry.row = std::move(row);
    } else {
      corpus.errors.push_back("line " + std::to_string(row.line) + ": " + error);
    }
  }
  return corpus;
}

std::string FormatRow(const Row& row) {
  std::string out = row.call.function == Function::UrlFromPath ? "url" : "path";
  if (row.call.nullOutput) {
    out += "(out=null)";
  } else if (row.call.nullLength) {
    out += "(length=null)";
  } else if (row.hasOption) {
    out += "(cap=" + std::to_string(row.call.capacity) + ")";
  }
  out += ' ';
  out += row.call.nullInput ? "null" : EncodeText(row.call.input);
  if (!row.pending) {
    out += " => " + FormatResults(row.windows);
    if (row.wine) out += " wine: " + FormatResults(*row.wine);
    if (row.wineVaries) out += " wine: varies";
  }
  if (!row.comment.empty()) out += "  " + row.comment;
  return out;
}

Outcome Run(const Call& call, bool* wrotePastCapacity) {
  // The whole buffer starts as the guard's noncharacter, which no conversion
  // writes, so "untouched" means not one character was written.
  GuardedBuffer buffer(call.capacity, std::u16string(call.capacity, GuardedBuffer::kGuard), false);
  DWORD length = call.capacity;
  const char16_t* input = call.nullInput ? nullptr : call.input.c_str();
  char16_t* output = call.nullOutput ? nullptr : buffer.Data();
  DWORD* lengthPointer = call.nullLength ? nullptr : &length;
  Outcome outcome;
  outcome.result = call.function == Function::UrlFromPath
                       ? platform::UrlCreateFromPathW(input, output, lengthPointer, 0)
                       : platform::PathCreateFromUrlW(input, output, lengthPointer, 0);
  outcome.hasLength = !call.nullLength;
  outcome.length = outcome.hasLength ? length : 0;
  *wrotePastCapacity = !buffer.GuardIntact();
  const std::u16string_view written(buffer.Data(), call.capacity);
  if (call.nullOutput) {
    outcome.output = Output::None;
  } else if (!*wrotePastCapacity &&
             written.find_first_not_of(GuardedBuffer::kGuard) == std::u16string_view::npos) {
    outcome.output = Output::Untouched;
  } else if (!buffer.TextLength()) {
    outcome.output = Output::Unterminated;
  } else {
    outcome.output = Output::Text;
    outcome.text = buffer.Text();
  }
  return outcome;
}

DWORD NeededCapacity(const Outcome& full) {
  if (!full.hasLength) return 0;
  if (full.result == platform::S_OK || full.result == platform::S_FALSE) return full.length + 1;
  return full.result == platform::E_POINTER ? full.length : 0;
}

Results Observe(const Row& row, bool* wrotePastCapacity) {
  Results results;
  results.full = Run(row.call, wrotePastCapacity);
  if (!row.hasOption) {
    Call shortCall = row.call;
    // One character too few, or none at all when the call needed none.
    shortCall.capacity = std::max<DWORD>(NeededCapacity(results.full), 1) - 1;
    bool overrun = false;
    results.hasShort = true;
    results.shortCapacity = shortCall.capacity;
    results.shortCall = Run(shortCall, &overrun);
    *wrotePastCapacity = *wrotePastCapacity || overrun;
  }
  return results;
}

}  // namespace testing_support
