#include "command/arguments.h"

#include "base/char_class.h"
#include "base/errors.h"
#include "base/host_contract.h"

namespace {

// The last position of argText. A character is stored only below it, so the
// terminator written after the character always fits.
constexpr size_t kLastTextPosition = MAX_ARG_LEN - 1;

// Where the splitter stands while it scans one text.
struct Scan {
  size_t b = 0;          // the position in argText where the next character goes
  size_t n = 0;          // arguments ended so far: the index of the one being built
  size_t length = 0;     // characters stored in argument n; it is open while above 0
  bool quoted = false;   // between an opening and a closing double quote
  bool urlSeen = false;  // the open argument holds a scheme such as "x://"
};

// Empties the argument array: no arguments, every entry null and 0, and an
// empty argText. The rest of argText keeps its old characters; nothing reads
// them.
void ClearArguments() {
  argCount = 0;
  for (size_t j = 0; j < MAX_ARGS; ++j) {
    argPointers[j] = nullptr;
    argLengths[j] = 0;
  }
  argText[0] = u'\0';
}

// Ends the open argument. Its terminator already stands at b, so b steps past
// it and the new position is cleared, except when b thereby leaves argText:
// that happens only when the argument ended on the last position, and then no
// character can follow without an overflow.
void EndArgument(Scan& scan) {
  ++scan.n;
  ++scan.b;
  if (scan.b < MAX_ARG_LEN) argText[scan.b] = u'\0';
  scan.length = 0;
  scan.urlSeen = false;
}

// True for the colon of a scheme: a letter just before it and "//" just after.
// The second slash is only looked at when the first is there, so the read
// never passes the text's terminator.
bool IsSchemeColon(const char16_t* text, size_t i) {
  return i > 0 && IsLetter(text[i - 1]) && text[i + 1] == u'/' && text[i + 2] == u'/';
}

// True when a slash starts a new switch: the open argument is a switch of two
// or more characters that holds no scheme.
bool SlashStartsSwitch(const Scan& scan) {
  return !scan.quoted && !scan.urlSeen && scan.length >= 2 && scan.n < MAX_ARGS &&
         argPointers[scan.n][0] == u'/';
}

enum class StoreResult { kStored, kOverflow };

// Stores one character, upper-cased, as the next of argument n, and keeps the
// argument terminated. Characters of arguments beyond MAX_ARGS are dropped;
// running out of argText is tested first, so even a dropped character
// overflows once b has reached the last position.
StoreResult Store(Scan& scan, char16_t c) {
  if (scan.b >= kLastTextPosition) return StoreResult::kOverflow;
  if (scan.n >= MAX_ARGS) return StoreResult::kStored;
  if (scan.length == 0) argPointers[scan.n] = &argText[scan.b];
  argText[scan.b] = AsciiUpper(c);
  ++scan.b;
  argText[scan.b] = u'\0';
  ++scan.length;
  argLengths[scan.n] = static_cast<int32_t>(scan.length);
  return StoreResult::kStored;
}

// Removes trailing white space from each of the first count arguments. Only
// white space inside quotes can have reached an argument.
void TrimArguments(size_t count) {
  for (size_t j = 0; j < count && j < MAX_ARGS; ++j) {
    while (argLengths[j] > 0 && IsWhiteSpace(argPointers[j][argLengths[j] - 1])) {
      --argLengths[j];
      argPointers[j][argLengths[j]] = u'\0';
    }
  }
}

}  // namespace

// Arguments are separated by white space outside double quotes, and a switch
// such as "/Q" ends where the next "/" begins unless it holds a URL scheme.
// Quotes are dropped wherever they stand. On an overflow the array is emptied
// again, so that it never holds entries beyond argCount.
int32_t ArgumentSplitter(const char16_t* text) {
  if (text == nullptr) return kSplitFailed;
  ClearArguments();
  Scan scan;
  for (size_t i = 0;; ++i) {
    const char16_t c = text[i];
    const bool open = scan.length > 0;
    if (c == u'"') {
      scan.quoted = !scan.quoted;
      continue;
    }
    if (!scan.quoted && IsWhiteSpace(c)) {
      if (open) EndArgument(scan);
      continue;
    }
    if (c == u':' && open && IsSchemeColon(text, i)) {
      scan.urlSeen = true;
    } else if (c == u'/' && SlashStartsSwitch(scan)) {
      EndArgument(scan);
    } else if (c == u'\0') {
      if (open) ++scan.n;
      break;
    }
    if (Store(scan, c) == StoreResult::kOverflow) {
      ReportError(u"Buffer overflow: b = %d, MAX_ARG_LEN = %d \r\n", static_cast<int>(scan.b),
                  static_cast<int>(MAX_ARG_LEN));
      ClearArguments();
      return kSplitFailed;
    }
  }
  TrimArguments(scan.n);
  argCount = static_cast<int32_t>(scan.n);
  return argCount;
}
