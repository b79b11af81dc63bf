// Trimming, the quote rule and the doubling of "%".
#include <array>

#include "base/char_class.h"
#include "base/text.h"
#include "convert/convert.h"

// Three short scans rather than one that tests every character: past the
// leading white space, to the terminator, and back over the trailing white
// space.
int32_t TrimWhitespace(char16_t* text) {
  if (text == nullptr) return -1;
  size_t first = 0;
  while (text[first] != u'\0' && IsWhiteSpace(text[first])) ++first;
  if (text[first] == u'\0') {
    text[0] = u'\0';
    return 0;
  }
  size_t end = first + 1;
  while (text[end] != u'\0') ++end;
  while (IsWhiteSpace(text[end - 1])) --end;
  text[end] = u'\0';
  if (first > 0) {
    for (size_t i = first; i <= end; ++i) text[i - first] = text[i];
  }
  return 0;
}

namespace {

constexpr bool IsQuoteTrigger(char16_t c) {
  return IsWhiteSpace(c) || IsControl(c) || c == u'<' || c == u'>' || c == u'|' || c == u',' ||
         c == u';' || c == u'&';
}

// The quote triggers below U+0100, worked out once: a file name is counted
// character by character, and nearly all of its characters fall here.
constexpr std::array<uint8_t, kFirstWindowsClassified> kQuoteTriggersBelow0100 = [] {
  std::array<uint8_t, kFirstWindowsClassified> triggers{};
  for (char16_t c = 0; c < kFirstWindowsClassified; ++c) triggers[c] = IsQuoteTrigger(c) ? 1 : 0;
  return triggers;
}();

}  // namespace

uint32_t CountQuoteTriggers(const char16_t* text) {
  uint32_t count = 0;
  for (; *text != u'\0'; ++text) {
    const char16_t c = *text;
    const bool trigger =
        c < kFirstWindowsClassified ? kQuoteTriggersBelow0100[c] != 0 : IsQuoteTrigger(c);
    if (trigger) ++count;
  }
  return count;
}

// One pass counts, then the text is widened from its end, so that each
// character moves once and the characters before the first "%" stay put.
bool DoublePercentSigns(char16_t* text, size_t capacity) {
  size_t length = 0;
  size_t percents = 0;
  for (; text[length] != u'\0'; ++length) {
    if (text[length] == u'%') ++percents;
  }
  if (length + percents >= capacity) return false;
  size_t write = length + percents;
  text[write] = u'\0';
  for (size_t read = length; percents > 0;) {
    --read;
    text[--write] = text[read];
    if (text[read] == u'%') {
      text[--write] = u'%';
      --percents;
    }
  }
  return true;
}
