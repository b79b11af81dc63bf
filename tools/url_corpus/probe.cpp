// Runs every row of the URL conversion corpus through this platform's
// UrlCreateFromPathW and PathCreateFromUrlW and writes the corpus to standard
// output with the results observed, comments and row order unchanged.
//
// Built for Windows and run under Wine it regenerates the expected results:
// unmarked rows receive Wine's results as Windows' own, rows marked "wine:"
// keep their Windows results while their Wine results are refreshed, and rows
// marked "wine: varies" are left as they are.
// Built natively it writes what the stand-ins give, so a diff against the
// corpus shows where they go wrong. Notes go to standard error.
//
// Usage: url_corpus_probe CORPUS > NEW_CORPUS
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tests/platform/url_corpus.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: url_corpus_probe CORPUS > NEW_CORPUS\n";
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 2;
  }
  std::stringstream text;
  text << file.rdbuf();
  const testing_support::Corpus corpus = testing_support::ParseCorpus(text.str());
  for (const auto& error : corpus.errors) std::cerr << error << "\n";
  if (!corpus.errors.empty()) return 2;

#if defined(_WIN32)
  // Keep the corpus's line ends as they are: no CR before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
  const bool underWine = true;
#else
  const bool underWine = false;
#endif
  int status = 0;
  for (const auto& line : corpus.lines) {
    if (!line.row) {
      std::cout << line.text << "\n";
      continue;
    }
    testing_support::Row row = *line.row;
    bool overrun = false;
    const testing_support::Results observed = testing_support::Observe(row, &overrun);
    if (overrun) {
      std::cerr << "line " << row.line << ": wrote past the capacity it was given\n";
      status = 1;
    }
    if (underWine && row.wineVaries) {
      // Nothing Wine gives here says anything about Windows.
    } else if (underWine && row.wine) {
      if (observed == row.windows) {
        std::cerr << "line " << row.line << ": Wine now gives Windows' result; drop the marker\n";
      }
      row.wine = observed;
    } else {
      row.windows = observed;
    }
    row.pending = false;
    std::cout << testing_support::FormatRow(row) << "\n";
  }
  return status;
}
