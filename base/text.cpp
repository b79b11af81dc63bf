#include "base/text.h"

#include <cstring>

size_t TextLength(const char16_t* text) {
  size_t length = 0;
  while (text[length] != u'\0') ++length;
  return length;
}

size_t TextCopy(char16_t* destination, size_t capacity, const char16_t* source) {
  if (capacity == 0) return 0;
  size_t i = 0;
  for (; i + 1 < capacity && source[i] != u'\0'; ++i) destination[i] = source[i];
  if (i > 0 && IsHighSurrogate(destination[i - 1]) && IsLowSurrogate(source[i])) --i;
  destination[i] = u'\0';
  return i;
}

size_t TextAppend(char16_t* destination, size_t capacity, const char16_t* source) {
  size_t length = 0;
  while (length < capacity && destination[length] != u'\0') ++length;
  if (length >= capacity) return length;
  return length + TextCopy(destination + length, capacity - length, source);
}

// One memset, so that the sanitizers check the whole range at once instead
// of every character of a 16 KiB buffer.
void TextClear(char16_t* text, size_t count) {
  std::memset(text, 0, count * sizeof *text);
}

// Whatever lies beyond an earlier terminator is no part of the text, so
// clearing a character there changes nothing.
void TerminateText(char16_t* text, size_t capacity) {
  if (capacity == 0) return;
  if (capacity >= 2 && IsLowSurrogate(text[capacity - 1]) && IsHighSurrogate(text[capacity - 2])) {
    text[capacity - 2] = u'\0';
  }
  text[capacity - 1] = u'\0';
}

bool TextEqualsIgnoreCase(const char16_t* a, const char16_t* b) {
  for (;; ++a, ++b) {
    if (AsciiLower(*a) != AsciiLower(*b)) return false;
    if (*a == u'\0') return true;
  }
}

bool TextStartsWithIgnoreCase(const char16_t* text, const char16_t* prefix) {
  for (; *prefix != u'\0'; ++text, ++prefix) {
    if (AsciiLower(*text) != AsciiLower(*prefix)) return false;
  }
  return true;
}
