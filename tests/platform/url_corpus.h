// The URL conversion corpus: rows of inputs for UrlCreateFromPathW and
// PathCreateFromUrlW with the results Windows gives for them, read from and
// written to tests/data/url_corpus.txt (whose header describes the format).
//
// The test runs every row through the platform layer and compares; the probe
// in tools/url_corpus runs them the same way and writes the corpus back with
// the results it observed, which is how the expected values are regenerated
// under Wine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/win32_extras.h"

namespace testing_support {

enum class Function { UrlFromPath, PathFromUrl };

// The capacity in characters that the plug-in passes for every conversion.
inline constexpr platform::DWORD kPluginCapacity = 8192;

// One call: which function, its input and how its output arguments are set up.
struct Call {
  Function function = Function::UrlFromPath;
  bool nullInput = false;
  std::u16string input;
  bool nullOutput = false;
  bool nullLength = false;
  platform::DWORD capacity = kPluginCapacity;
};

// What the output buffer held after a call. The buffer is filled with a
// sentinel first, so "untouched" means the call wrote nothing at all.
enum class Output { Text, Untouched, Unterminated, None };

// Everything a call lets the caller observe.
struct Outcome {
  platform::HRESULT result = 0;
  bool hasLength = true;  // false when the length pointer was null
  platform::DWORD length = 0;
  Output output = Output::Untouched;
  std::u16string text;  // for Output::Text: the characters before the terminator
  bool operator==(const Outcome&) const = default;
};

// The results of one row on one platform: the call with the row's capacity,
// and, for rows without options, the call with a buffer that is too small.
struct Results {
  Outcome full;
  bool hasShort = false;
  platform::DWORD shortCapacity = 0;
  Outcome shortCall;
  bool operator==(const Results&) const = default;
};

struct Row {
  int line = 0;
  Call call;
  bool hasOption = false;  // a capacity, null output or null length given in the row
  bool pending = false;    // input only, results not yet generated
  Results windows;
  std::optional<Results> wine;  // set where Wine is known to differ from Windows
  bool wineVaries = false;      // Wine's results change from run to run: not checked there
  std::string comment;          // trailing "# ..." text, kept when the row is rewritten
};

// One line of the corpus: a row, or a comment or blank line kept verbatim.
struct Line {
  std::string text;  // the original line
  std::optional<Row> row;
};

struct Corpus {
  std::vector<Line> lines;
  std::vector<std::string> errors;  // "line N: what is wrong"
};

Corpus ParseCorpus(std::string_view text);
std::string FormatRow(const Row& row);

// Decodes the text between the double quotes of a corpus string; false on a
// malformed escape.
bool DecodeText(std::string_view quoted, std::u16string& text);
// Writes a text as a quoted corpus string, long runs folded into repetitions.
std::string EncodeText(std::u16string_view text);
std::string FormatOutcome(const Outcome& outcome);

// Runs one call through the platform layer.
Outcome Run(const Call& call, bool* wrotePastCapacity);

// The characters a call needed: a successful result's length and terminator,
// or the length a call that did not fit asked for; 0 when it does not tell.
platform::DWORD NeededCapacity(const Outcome& full);

// Runs a row on this platform: its call, then the too-small call if it has one.
Results Observe(const Row& row, bool* wrotePastCapacity);

}  // namespace testing_support
