// UrlCreateFromPathW and PathCreateFromUrlW against the corpus of Windows'
// results: natively this checks our stand-ins, under Wine it checks Windows'
// own functions as Wine provides them (rows marked "wine:" carry Wine's known
// deviation, which is what the Windows build expects there; rows marked
// "wine: varies" are only checked for writing within their buffer there).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/platform/url_corpus.h"

namespace {

using testing_support::Function;
using testing_support::Outcome;
using testing_support::Results;
using testing_support::Row;

// The build copies the corpus next to this test, and ctest runs it there.
// A relative name keeps the path valid under Wine too.
constexpr const char* kCorpusFile = "url_corpus.txt";

std::string ReadCorpusText() {
  std::ifstream file(kCorpusFile, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

const testing_support::Corpus& TheCorpus() {
  static const testing_support::Corpus corpus = testing_support::ParseCorpus(ReadCorpusText());
  return corpus;
}

const Results& ExpectedHere(const Row& row) {
#if defined(_WIN32)
  if (row.wine) return *row.wine;
#endif
  return row.windows;
}

bool Succeeded(const Outcome& outcome) {
  return outcome.result == platform::S_OK || outcome.result == platform::S_FALSE;
}

// Checks one row: the call as the row gives it, the call with a buffer one
// character too small, and the call with a buffer exactly as large as needed.
void CheckRow(const Row& row) {
  SCOPED_TRACE("url_corpus.txt:" + std::to_string(row.line) + ": " +
               testing_support::FormatRow(row));
  ASSERT_FALSE(row.pending) << "no expected results yet: run tools/url_corpus/regenerate";
  bool overrun = false;
  const Results actual = testing_support::Observe(row, &overrun);
  EXPECT_FALSE(overrun) << "wrote past the capacity it was given";
#if defined(_WIN32)
  if (row.wineVaries) return;
#endif
  const Results& expected = ExpectedHere(row);
  EXPECT_EQ(testing_support::FormatOutcome(actual.full),
            testing_support::FormatOutcome(expected.full));
  if (expected.hasShort) {
    EXPECT_EQ(actual.shortCapacity, expected.shortCapacity) << "too-small capacity";
    EXPECT_EQ(testing_support::FormatOutcome(actual.shortCall),
              testing_support::FormatOutcome(expected.shortCall))
        << "with capacity " << expected.shortCapacity;
  }

  // Exactly full: with the characters it needed, the call succeeds, and where
  // it succeeded before it gives the same result.
  const platform::DWORD needed = testing_support::NeededCapacity(expected.full);
  if (row.hasOption || needed == 0) return;
  testing_support::Call exact = row.call;
  exact.capacity = needed;
  const Outcome fit = testing_support::Run(exact, &overrun);
  SCOPED_TRACE(testing::Message() << "exactly full, capacity " << needed);
  EXPECT_FALSE(overrun) << "wrote past the capacity";
  EXPECT_TRUE(Succeeded(fit));
  EXPECT_EQ(fit.length, needed - 1);
  EXPECT_EQ(fit.text.size(), needed - 1);
  if (Succeeded(expected.full)) {
    EXPECT_EQ(testing_support::FormatOutcome(fit), testing_support::FormatOutcome(expected.full));
  }
}

void CheckRows(Function function) {
  const auto& corpus = TheCorpus();
  ASSERT_TRUE(corpus.errors.empty()) << corpus.errors.front();
  int checked = 0;
  for (const auto& line : corpus.lines) {
    if (!line.row || line.row->call.function != function) continue;
    CheckRow(*line.row);
    ++checked;
  }
  EXPECT_GT(checked, 0) << "no rows found in " << kCorpusFile;
}

TEST(UrlCorpusTest, UrlCreateFromPathGivesWindowsResults) {
  CheckRows(Function::UrlFromPath);
}

TEST(UrlCorpusTest, PathCreateFromUrlGivesWindowsResults) {
  CheckRows(Function::PathFromUrl);
}

// The regeneration script rewrites every row from its parsed form, so each row
// must come back exactly as written; otherwise a regeneration would reformat
// rows that nothing changed.
TEST(UrlCorpusTest, RowsReadBackAsWritten) {
  const auto& corpus = TheCorpus();
  ASSERT_TRUE(corpus.errors.empty()) << corpus.errors.front();
  for (const auto& line : corpus.lines) {
    if (line.row) {
      EXPECT_EQ(testing_support::FormatRow(*line.row), line.text);
    }
  }
}

// The corpus's rows use every kind of escape and repetition, and read back as
// written; what they leave out is the shortest run that is folded, and the
// escapes that must be refused.
TEST(UrlCorpusTest, TextEscapes) {
  std::u16string decoded;
  ASSERT_TRUE(testing_support::DecodeText("{16*U+0009}", decoded));
  EXPECT_EQ(decoded, std::u16string(16, u'\t'));
  EXPECT_EQ(testing_support::EncodeText(decoded), "\"{16*U+0009}\"");
  for (const char* malformed : {"{U+00E}", "{U+00E9", "{x}", "{3*}", "\"", "\t"}) {
    EXPECT_FALSE(testing_support::DecodeText(malformed, decoded)) << malformed;
  }
}

TEST(UrlCorpusTest, WineMarkerCarriesBothResults) {
  const testing_support::Corpus corpus = testing_support::ParseCorpus(
      "url \"a\" => S_OK 6 \"file:a\" | cap 6 => E_POINTER 7 untouched "
      "wine: E_INVALIDARG 8192 untouched | cap 0 => E_INVALIDARG 0 untouched  # why\n"
      "path(cap=0) null => E_INVALIDARG 0 untouched\n"
      "path \"file:x\"\n"
      "url \"a\" => S_OK 6 \"file:a\" | cap 6 => E_POINTER 7 untouched wine: varies\n");
  ASSERT_TRUE(corpus.errors.empty()) << corpus.errors.front();
  const Row& marked = *corpus.lines[0].row;
  EXPECT_EQ(marked.windows.full.result, platform::S_OK);
  ASSERT_TRUE(marked.wine);
  EXPECT_EQ(marked.wine->full.result, platform::E_INVALIDARG);
  EXPECT_EQ(marked.comment, "# why");
  EXPECT_TRUE(corpus.lines[1].row->call.nullInput);
  EXPECT_EQ(corpus.lines[1].row->call.capacity, 0u);
  EXPECT_TRUE(corpus.lines[2].row->pending);
  EXPECT_TRUE(corpus.lines[3].row->wineVaries);
  EXPECT_FALSE(corpus.lines[3].row->wine);
  for (const auto& line : corpus.lines) EXPECT_EQ(testing_support::FormatRow(*line.row), line.text);
}

#if !defined(_WIN32)
// Wine's UrlCreateFromPathW reads through a null path and crashes, so the
// corpus has no such row; the stand-in refuses it and writes nothing.
TEST(UrlStandInTest, NullPathIsRefused) {
  char16_t url[8] = {u'#'};
  platform::DWORD length = 8;
  EXPECT_EQ(platform::UrlCreateFromPathW(nullptr, url, &length, 0), platform::E_INVALIDARG);
  EXPECT_EQ(length, 8u);
  EXPECT_EQ(url[0], u'#');
}
#endif

}  // namespace
