// Trimming and the quote rule.
#include "convert/charclass.h"
#include "convert/convert.h"
#include "plugin/text.h"

int32_t TrimWhitespace(char16_t* text) {
  if (text == nullptr) return -1;
  size_t first = 0;
  size_t last = 0;
  bool found = false;
  size_t length = 0;
  for (; text[length] != u'\0'; ++length) {
    if (IsWhiteSpace(text[length])) continue;
    if (!found) first = length;
    found = true;
    last = length;
  }
  if (!found) {
    text[0] = u'\0';
    return 0;
  }
  text[last + 1] = u'\0';
  if (first > 0) {
    for (size_t i = first; i <= last + 1; ++i) text[i - first] = text[i];
  }
  return 0;
}

uint32_t CountQuoteTriggers(const char16_t* text) {
  uint32_t count = 0;
  for (; *text != u'\0'; ++text) {
    const char16_t c = *text;
    if (IsWhiteSpace(c) || IsControl(c) || c == u'<' || c == u'>' || c == u'|' || c == u',' ||
        c == u';' || c == u'&') {
      ++count;
    }
  }
  return count;
}
