// Stand-ins for UrlCreateFromPathW and PathCreateFromUrlW with flags 0, giving
// Windows' results, lengths and HRESULTs character for character. The rules
// below are what Windows does, observed row by row in tests/data/url_corpus.txt;
// several of them are surprising, and the corpus has a row for each.
#include <array>
#include <cstddef>

#include "platform/posix/url_writer.h"
#include "platform/posix/win32_extras.h"

namespace {

using platform::DWORD;
using platform::HRESULT;
using standin::IsAsciiLetter;
using standin::IsSlash;
using standin::UrlWriter;

// Only ASCII counts as letters and digits, here and for drive letters and
// hexadecimal digits below: no character from U+0080 up is ever taken for one.
bool IsSchemeCharacter(char16_t c) {
  return IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

// A text that starts with a scheme of two or more characters and a colon is
// already a URL. A single letter and a colon is a drive instead.
bool IsUrl(const char16_t* text) {
  size_t length = 0;
  while (IsSchemeCharacter(text[length])) ++length;
  return length >= 2 && text[length] == u':';
}

// Compares with a lower-case ASCII prefix, ignoring the case of A to Z.
bool StartsWithIgnoringCase(const char16_t* text, const char16_t* prefix) {
  for (; *prefix != u'\0'; ++text, ++prefix) {
    const char16_t c = (*text >= u'A' && *text <= u'Z') ? *text + 0x20 : *text;
    if (c != *prefix) return false;
  }
  return true;
}

// The delimiters and unsafe characters of URLs that a path's URL escapes.
constexpr char16_t kEscapedPunctuation[] = u"\"#%&<>[]^`{|}";

// Which characters below U+0100 a path's URL carries as %XX, from the rule in
// NeedsEscape, worked out once: the conversion asks for every character of
// the path, twice.
constexpr std::array<bool, 0x100> kEscapedBelow0100 = [] {
  std::array<bool, 0x100> escaped{};
  for (size_t c = 0; c < escaped.size(); ++c) escaped[c] = c <= 0x20 || c >= 0x7F;
  for (const char16_t* p = kEscapedPunctuation; *p != u'\0'; ++p) escaped[*p] = true;
  return escaped;
}();

// The characters that a path's URL carries as %XX: controls, the blank, the
// delimiters and unsafe characters of URLs, and every character from U+007F to
// U+00FF (as one Latin-1 byte). "?" starts a query and is never escaped; the
// characters above U+00FF are left as they are.
bool NeedsEscape(char16_t c) {
  return c < kEscapedBelow0100.size() && kEscapedBelow0100[c];
}

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

// Writes a path as the body of its URL: backslashes become slashes and the
// characters above are escaped, up to the first "?"; from there on the text is
// copied unchanged, backslashes included.
void WriteEscapedPath(const char16_t* path, UrlWriter& out) {
  for (; *path != u'\0' && *path != u'?'; ++path) {
    const char16_t c = *path;
    if (c == u'\\') {
      out.Put(u'/');
    } else if (NeedsEscape(c)) {
      out.Put(u'%');
      out.Put(kHexDigits[c >> 4]);
      out.Put(kHexDigits[c & 0xF]);
    } else {
      out.Put(c);
    }
  }
  out.Put(path);
}

// The URL of a path that is not a URL already. The number of leading slashes
// (of either kind) picks the prefix: a drive letter or one slash gives
// "file:///", two or three slashes are kept after "file:" (but see localhost),
// four or more become "file://", and anything else, relative names included,
// just gets "file:".
void WritePathUrl(const char16_t* path, UrlWriter& out) {
  size_t slashes = 0;
  while (IsSlash(path[slashes])) ++slashes;
  if (slashes == 2 && StartsWithIgnoringCase(path + 2, u"localhost")) {
    // A server named localhost is this machine: "file:///" and the rest of
    // the path after "localhost" and its slash (the whole name when no slash
    // follows it).
    out.Put(u"file:///");
    path += IsSlash(path[11]) ? 12 : 2;
  } else if (slashes == 0 && IsAsciiLetter(path[0]) && path[1] == u':') {
    out.Put(u"file:///");
  } else if (slashes == 1) {
    out.Put(u"file://");
  } else if (slashes >= 4) {
    out.Put(u"file://");
    path += slashes;
  } else {
    out.Put(u"file:");
  }
  WriteEscapedPath(path, out);
}

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int HexValue(char16_t c) {
  if (c <= u'9') return c - u'0';
  return (c | 0x20) - u'a' + 10;
}

// A drive letter with its colon, or with the "|" that old URLs wrote instead.
bool IsDrive(const char16_t* text) {
  return IsAsciiLetter(text[0]) && (text[1] == u':' || text[1] == u'|');
}

// The character after the one at position at, passing over skip: the one
// position of the text that is not read. The terminator is never passed.
const char16_t* Next(const char16_t* at, const char16_t* skip) {
  if (*at == u'\0') return at;
  return at + 1 == skip ? at + 2 : at + 1;
}

// Writes the rest of a file URL as a path, leaving out the character at skip
// (null for none): each slash becomes a backslash and, when decoding, each "%"
// with two hexadecimal digits becomes that character (U+0000 to U+00FF, so a
// decoded "/" stays a slash). Other "%" stay as they are. A decoded U+0000
// ends the path.
void WriteUnescapedPath(const char16_t* url, const char16_t* skip, bool decode, UrlWriter& out) {
  if (url == skip) ++url;
  for (; *url != u'\0'; url = Next(url, skip)) {
    const char16_t c = *url;
    const char16_t* first = Next(url, skip);
    const char16_t* second = Next(first, skip);
    if (IsSlash(c)) {
      out.Put(u'\\');
    } else if (decode && c == u'%' && IsHexDigit(*first) && IsHexDigit(*second)) {
      const char16_t decoded = static_cast<char16_t>(HexValue(*first) * 16 + HexValue(*second));
      if (decoded == u'\0') return;
      out.Put(decoded);
      url = second;
    } else {
      out.Put(c);
    }
  }
}

void WriteUnescapedPath(const char16_t* url, bool decode, UrlWriter& out) {
  WriteUnescapedPath(url, nullptr, decode, out);
}

// Writes a server path: "\\", the server and the rest, decoded. When the
// server's slash is followed by a drive letter, that slash is left out, and
// the text on both sides of the gap is decoded as one.
void WriteServerPath(const char16_t* server, UrlWriter& out) {
  const char16_t* end = server;
  while (*end != u'\0' && !IsSlash(*end)) ++end;
  out.Put(u"\\\\");
  WriteUnescapedPath(server, *end != u'\0' && IsDrive(end + 1) ? end : nullptr, true, out);
}

// Writes a path that may start with a drive: the letter and a colon (for
// either ":" or "|"), then the rest; otherwise the prefix and the whole text.
void WriteDriveOrPath(const char16_t* text, const char16_t* prefix, bool decode, UrlWriter& out) {
  if (IsDrive(text)) {
    out.Put(text[0]);
    out.Put(u':');
    WriteUnescapedPath(text + 2, decode, out);
  } else {
    out.Put(prefix);
    WriteUnescapedPath(text, decode, out);
  }
}

// The path of a file URL, given the text after "file:". The number of slashes
// that follow decides how the rest is read:
//   none, one or three: a drive letter starts the path; otherwise the path
//     starts with one backslash (none when there was no slash); decoded;
//   two: "localhost" and a slash are dropped and the rest is read as with no
//     slash; a drive letter starts the path, escapes left as they are; anything
//     else is a server (WriteServerPath);
//   four: a drive letter starts the path, anything else is a server; escapes
//     left as they are;
//   five or more: always a server, decoded.
void WriteFileUrlPath(const char16_t* rest, UrlWriter& out) {
  size_t slashes = 0;
  while (IsSlash(rest[slashes])) ++slashes;
  const char16_t* body = rest + slashes;
  switch (slashes) {
    case 0:
      WriteDriveOrPath(body, u"", true, out);
      break;
    case 1:
    case 3:
      WriteDriveOrPath(body, u"\\", true, out);
      break;
    case 2:
      if (StartsWithIgnoringCase(body, u"localhost") && IsSlash(body[9])) {
        WriteDriveOrPath(body + 10, u"", true, out);
      } else if (IsDrive(body)) {
        WriteDriveOrPath(body, u"", false, out);
      } else {
        WriteServerPath(body, out);
      }
      break;
    case 4:
      WriteDriveOrPath(body, u"\\\\", false, out);
      break;
    default:
      out.Put(u"\\\\");
      WriteUnescapedPath(body, true, out);
      break;
  }
}

}  // namespace

namespace platform {

// Converts a path to a file URL. A text that already is a URL is copied and
// gives S_FALSE. A null path is refused rather than read.
HRESULT UrlCreateFromPathW(const char16_t* path, char16_t* url, DWORD* urlLength, DWORD) {
  if (url == nullptr || urlLength == nullptr || path == nullptr) return E_INVALIDARG;
  if (IsUrl(path)) {
    return standin::WriteIfItFits(url, urlLength, S_FALSE,
                                  [path](UrlWriter& out) { out.Put(path); });
  }
  if (*urlLength == 0) return E_INVALIDARG;
  return standin::WriteIfItFits(url, urlLength, S_OK,
                                [path](UrlWriter& out) { WritePathUrl(path, out); });
}

// Converts a file URL to a path; anything but a "file:" URL is refused.
HRESULT PathCreateFromUrlW(const char16_t* url, char16_t* path, DWORD* pathLength, DWORD) {
  if (url == nullptr || path == nullptr || pathLength == nullptr || *pathLength == 0) {
    return E_INVALIDARG;
  }
  if (!StartsWithIgnoringCase(url, u"file:")) return E_INVALIDARG;
  const char16_t* rest = url + 5;
  return standin::WriteIfItFits(path, pathLength, S_OK,
                                [rest](UrlWriter& out) { WriteFileUrlPath(rest, out); });
}

}  // namespace platform
