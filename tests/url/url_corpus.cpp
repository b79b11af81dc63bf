// Reading, writing and running the URL conversion corpus.
#include "tests/url/url_corpus.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace testing_support {

namespace {

using platform::DWORD;
using platform::HRESULT;

// Fills every output buffer before a call; no conversion writes it.
constexpr char16_t kSentinel = u'\uFDD0';
// Characters after the capacity that must survive every call.
constexpr size_t kGuard = 16;
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

bool ParseResultCode(std::string_view word, HRESULT& value) {
  for (const auto& named : kResultNames) {
    if (word == named.name) {
      value = named.value;
      return true;
    }
  }
  if (word.size() != 10 || word.substr(0, 2) != "0x") return false;
  uint32_t bits = 0;
  const auto [end, error] = std::from_chars(word.data() + 2, word.data() + word.size(), bits, 16);
  if (error != std::errc() || end != word.data() + word.size()) return false;
  value = static_cast<HRESULT>(bits);
  return true;
}

template <typename Number>
bool ParseNumber(std::string_view word, Number& value, int base = 10) {
  if (word.empty()) return false;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  return error == std::errc() && end == word.data() + word.size();
}

bool IsPlain(char16_t c) {
  return c >= 0x20 && c <= 0x7E && c != u'"' && c != u'{';
}

void AppendEscape(std::string& out, char16_t c) {
  char text[12];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  out += text;
}

// One whitespace-separated token of a row; quoted strings keep their quotes.
struct Tokens {
  std::vector<std::string_view> words;
  std::string_view comment;
};

bool Tokenize(std::string_view line, Tokens& tokens, std::string& error) {
  size_t at = 0;
  while (at < line.size()) {
    if (line[at] == ' ' || line[at] == '\t') {
      ++at;
    } else if (line[at] == '#') {
      tokens.comment = line.substr(at);
      return true;
    } else if (line[at] == '"') {
      const size_t close = line.find('"', at + 1);
      if (close == std::string_view::npos) {
        error = "unterminated string";
        return false;
      }
      tokens.words.push_back(line.substr(at, close + 1 - at));
      at = close + 1;
    } else {
      size_t end = at;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
      tokens.words.push_back(line.substr(at, end - at));
      at = end;
    }
  }
  return true;
}

bool IsQuoted(std::string_view word) {
  return word.size() >= 2 && word.front() == '"' && word.back() == '"';
}

// Reads "HR LENGTH OUTPUT" starting at words[at].
bool ParseOutcome(const std::vector<std::string_view>& words, size_t& at, Outcome& outcome,
                  std::string& error) {
  if (at + 3 > words.size()) {
    error = "a result needs a code, a length and an output";
    return false;
  }
  if (!ParseResultCode(words[at], outcome.result)) {
    error = "bad result code '" + std::string(words[at]) + "'";
    return false;
  }
  const std::string_view length = words[at + 1];
  outcome.hasLength = length != "-";
  if (outcome.hasLength && !ParseNumber(length, outcome.length)) {
    error = "bad length '" + std::string(length) + "'";
    return false;
  }
  const std::string_view output = words[at + 2];
  outcome.text.clear();
  if (output == "untouched") {
    outcome.output = Output::Untouched;
  } else if (output == "unterminated") {
    outcome.output = Output::Unterminated;
  } else if (output == "-") {
    outcome.output = Output::None;
  } else if (IsQuoted(output)) {
    outcome.output = Output::Text;
    if (!DecodeText(output.substr(1, output.size() - 2), outcome.text)) {
      error = "bad escape in output";
      return false;
    }
  } else {
    error = "bad output '" + std::string(output) + "'";
    return false;
  }
  at += 3;
  return true;
}

// Reads "RESULT [| cap N => RESULT]".
bool ParseResults(const std::vector<std::string_view>& words, size_t& at, bool hasOption,
                  Results& results, std::string& error) {
  if (!ParseOutcome(words, at, results.full, error)) return false;
  results.hasShort = false;
  if (at < words.size() && words[at] == "|") {
    if (hasOption) {
      error = "a row with an option has no too-small call";
      return false;
    }
    if (at + 4 > words.size() || words[at + 1] != "cap" || words[at + 3] != "=>" ||
        !ParseNumber(words[at + 2], results.shortCapacity)) {
      error = "expected '| cap N =>'";
      return false;
    }
    at += 4;
    results.hasShort = true;
    if (!ParseOutcome(words, at, results.shortCall, error)) return false;
  }
  return true;
}

bool ParseFunction(std::string_view word, Row& row, std::string& error) {
  const size_t open = word.find('(');
  const std::string_view name = word.substr(0, open);
  if (name == "url") {
    row.call.function = Function::UrlFromPath;
  } else if (name == "path") {
    row.call.function = Function::PathFromUrl;
  } else {
    error = "a row starts with 'url' or 'path'";
    return false;
  }
  if (open == std::string_view::npos) return true;
  if (word.back() != ')') {
    error = "unclosed option";
    return false;
  }
  const std::string_view option = word.substr(open + 1, word.size() - open - 2);
  row.hasOption = true;
  if (option == "out=null") {
    row.call.nullOutput = true;
  } else if (option == "length=null") {
    row.call.nullLength = true;
  } else if (option.substr(0, 4) == "cap=" && ParseNumber(option.substr(4), row.call.capacity)) {
  } else {
    error = "unknown option '" + std::string(option) + "'";
    return false;
  }
  return true;
}

bool ParseRow(std::string_view line, Row& row, std::string& error) {
  Tokens tokens;
  if (!Tokenize(line, tokens, error)) return false;
  const auto& words = tokens.words;
  row.comment = std::string(tokens.comment);
  if (words.size() < 2) {
    error = "a row needs a function and an input";
    return false;
  }
  if (!ParseFunction(words[0], row, error)) return false;
  if (words[1] == "null") {
    row.call.nullInput = true;
  } else if (!IsQuoted(words[1]) ||
             !DecodeText(words[1].substr(1, words[1].size() - 2), row.call.input)) {
    error = "the input is a quoted string or null";
    return false;
  }
  size_t at = 2;
  if (at == words.size()) {
    row.pending = true;
    return true;
  }
  if (words[at] != "=>") {
    error = "expected '=>' after the input";
    return false;
  }
  ++at;
  if (!ParseResults(words, at, row.hasOption, row.windows, error)) return false;
  if (at + 1 < words.size() && words[at] == "wine:" && words[at + 1] == "varies") {
    row.wineVaries = true;
    at += 2;
  } else if (at < words.size() && words[at] == "wine:") {
    ++at;
    Results wine;
    if (!ParseResults(words, at, row.hasOption, wine, error)) return false;
    row.wine = wine;
  }
  if (at != words.size()) {
    error = "unexpected '" + std::string(words[at]) + "'";
    return false;
  }
  return true;
}

std::string FormatOutcome(const Outcome& outcome) {
  std::string out = FormatResultCode(outcome.result);
  out += ' ';
  out += outcome.hasLength ? std::to_string(outcome.length) : "-";
  out += ' ';
  switch (outcome.output) {
    case Output::Text:
      out += EncodeText(outcome.text);
      break;
    case Output::Untouched:
      out += "untouched";
      break;
    case Output::Unterminated:
      out += "unterminated";
      break;
    case Output::None:
      out += "-";
      break;
  }
  return out;
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
  text.clear();
  size_t at = 0;
  while (at < quoted.size()) {
    const unsigned char c = static_cast<unsigned char>(quoted[at]);
    if (c != '{') {
      if (c < 0x20 || c > 0x7E || c == '"') return false;
      text += static_cast<char16_t>(c);
      ++at;
      continue;
    }
    const size_t close = quoted.find('}', at);
    if (close == std::string_view::npos) return false;
    const std::string_view escape = quoted.substr(at + 1, close - at - 1);
    at = close + 1;
    size_t count = 1;
    std::string_view unit = escape;
    const size_t star = escape.find('*');
    if (star != std::string_view::npos) {
      if (!ParseNumber(escape.substr(0, star), count) || count > kMaxRepeat) return false;
      unit = escape.substr(star + 1);
    }
    std::u16string unitText;
    uint16_t code = 0;
    if (unit.size() == 6 && unit.substr(0, 2) == "U+" && ParseNumber(unit.substr(2), code, 16)) {
      unitText = static_cast<char16_t>(code);
    } else if (star != std::string_view::npos && !unit.empty()) {
      for (const char u : unit) unitText += static_cast<char16_t>(static_cast<unsigned char>(u));
    } else {
      return false;
    }
    for (size_t i = 0; i < count; ++i) text += unitText;
  }
  return true;
}

std::string EncodeText(std::u16string_view text) {
  std::string out = "\"";
  size_t at = 0;
  while (at < text.size()) {
    // The shortest repeating unit of up to three characters that covers the
    // longest run from here, if that run is long enough to fold.
    size_t bestUnit = 0;
    size_t bestCount = 0;
    for (size_t unit = 1; unit <= 3 && at + unit <= text.size(); ++unit) {
      const std::u16string_view pattern = text.substr(at, unit);
      if (unit > 1 && !std::all_of(pattern.begin(), pattern.end(),
                                   [](char16_t c) { return IsPlain(c) && c != u'}'; })) {
        continue;
      }
      size_t count = 1;
      while (at + (count + 1) * unit <= text.size() &&
             text.substr(at + count * unit, unit) == pattern) {
        ++count;
      }
      if (count * unit >= kMinFoldedRun && count * unit > bestCount * bestUnit) {
        bestUnit = unit;
        bestCount = count;
      }
    }
    if (bestUnit != 0) {
      out += '{' + std::to_string(bestCount) + '*';
      const char16_t first = text[at];
      if (bestUnit == 1 && (!IsPlain(first) || first == u'}')) {
        AppendEscape(out, first);
      } else {
        for (size_t i = 0; i < bestUnit; ++i) out += static_cast<char>(text[at + i]);
      }
      out += '}';
      at += bestUnit * bestCount;
      continue;
    }
    const char16_t c = text[at++];
    if (IsPlain(c)) {
      out += static_cast<char>(c);
    } else {
      out += '{';
      AppendEscape(out, c);
      out += '}';
    }
  }
  return out + "\"";
}

std::string DescribeOutcome(const Outcome& outcome) {
  return FormatOutcome(outcome);
}

Corpus ParseCorpus(std::string_view text) {
  Corpus corpus;
  int number = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Line entry{std::string(line), std::nullopt};
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] != '#') {
      Row row;
      row.line = number;
      std::string error;
      if (ParseRow(line, row, error)) {
        entry.row = std::move(row);
      } else {
        corpus.errors.push_back("line " + std::to_string(number) + ": " + error);
      }
    }
    corpus.lines.push_back(std::move(entry));
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
  std::vector<char16_t> buffer(static_cast<size_t>(call.capacity) + kGuard, kSentinel);
  DWORD length = call.capacity;
  const char16_t* input = call.nullInput ? nullptr : call.input.c_str();
  char16_t* output = call.nullOutput ? nullptr : buffer.data();
  DWORD* lengthPointer = call.nullLength ? nullptr : &length;
  Outcome outcome;
  outcome.result = call.function == Function::UrlFromPath
                       ? platform::UrlCreateFromPathW(input, output, lengthPointer, 0)
                       : platform::PathCreateFromUrlW(input, output, lengthPointer, 0);
  outcome.hasLength = !call.nullLength;
  outcome.length = outcome.hasLength ? length : 0;
  const auto written = [](char16_t c) { return c != kSentinel; };
  const auto capacityEnd = buffer.begin() + call.capacity;
  *wrotePastCapacity = std::any_of(capacityEnd, buffer.end(), written);
  if (call.nullOutput) {
    outcome.output = Output::None;
  } else if (!std::any_of(buffer.begin(), buffer.end(), written)) {
    outcome.output = Output::Untouched;
  } else {
    const auto terminator = std::find(buffer.begin(), capacityEnd, u'\0');
    if (terminator == capacityEnd) {
      outcome.output = Output::Unterminated;
    } else {
      outcome.output = Output::Text;
      outcome.text.assign(buffer.begin(), terminator);
    }
  }
  return outcome;
}

DWORD ShortCapacityFor(const Outcome& full) {
  if (!full.hasLength) return 0;
  if (full.result == platform::S_OK || full.result == platform::S_FALSE) return full.length;
  if (full.result == platform::E_POINTER && full.length > 0) return full.length - 1;
  return 0;
}

Results Observe(const Row& row, bool* wrotePastCapacity) {
  Results results;
  results.full = Run(row.call, wrotePastCapacity);
  if (!row.hasOption) {
    Call shortCall = row.call;
    shortCall.capacity = ShortCapacityFor(results.full);
    bool overrun = false;
    results.hasShort = true;
    results.shortCapacity = shortCall.capacity;
    results.shortCall = Run(shortCall, &overrun);
    *wrotePastCapacity = *wrotePastCapacity || overrun;
  }
  return results;
}

}  // namespace testing_support
