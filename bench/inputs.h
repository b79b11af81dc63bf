// The inputs every benchmark shares: the native benchmarks, the Windows
// timing program under Wine and, through `marivex_bench --inputs`, the Python
// peers. Generated rather than stored, so each size is exact.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// A name as a user types it: a drive, a folder, a blank in the file name.
inline const std::u16string kTypicalName = u"C:\\Temp\\a b.txt";

// A canonical file name of exactly length characters (at least 15): folders
// named "folder1" below C:\Temp, then "a b.txt". Its only character that a
// URI escapes is the one blank, so the URI of a name of up to 8,180
// characters, with its "%" doubled, still fits the 8,192-character buffer.
inline std::u16string MakeName(size_t length) {
  const std::u16string prefix = u"C:\\Temp\\";
  const std::u16string file = u"a b.txt";
  const std::u16string folder = u"folder1\\";
  std::u16string name = prefix;
  const size_t fill = length - prefix.size() - file.size();
  for (size_t i = 0; i < fill; ++i) name += folder[i % folder.size()];
  return name + file;
}

// The file URI of a name made by MakeName or kTypicalName, as Windows writes
// it: "file:///", backslashes as slashes, the blank as %20.
inline std::u16string UriOf(const std::u16string& name) {
  std::u16string uri = u"file:///";
  for (char16_t c : name) {
    if (c == u'\\') {
      uri += u'/';
    } else if (c == u' ') {
      uri += u"%20";
    } else {
      uri += c;
    }
  }
  return uri;
}

// What @FILE2URI gives for such a name: its URI with each "%" doubled.
inline std::u16string DoubledUri(const std::u16string& name) {
  std::u16string out;
  for (char16_t c : UriOf(name)) {
    out += c;
    if (c == u'%') out += u'%';
  }
  return out;
}

// A file URI of exactly length characters (at least 12) with nothing to
// decode: "file:///C:/" and folders named "folder1".
inline std::u16string MakeUri(size_t length) {
  const std::u16string folder = u"folder1/";
  std::u16string uri = u"file:///C:/";
  const size_t fill = length - uri.size();
  for (size_t i = 0; i < fill; ++i) uri += folder[i % folder.size()];
  if (uri.back() == u'/') uri.back() = u'x';
  return uri;
}

// The three sizes of name the conversion functions are measured on.
struct SizedName {
  const char* label;
  std::u16string name;
};

inline std::vector<SizedName> ConversionNames() {
  return {{"typical", kTypicalName}, {"260", MakeName(260)}, {"8000", MakeName(8000)}};
}

// The lengths of the growth series, from 16 to 8,191 characters.
inline std::vector<size_t> GrowthLengths() {
  return {16, 256, 1024, 2048, 3072, 4096, 5120, 6144, 7168, 8191};
}

// The longest name whose URI with its "%" doubled still fits the argument
// buffer: longer names are refused, which is no longer the same work.
inline constexpr size_t kLongestConvertibleName = 8180;

}  // namespace bench
