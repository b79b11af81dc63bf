// Buffer capacities and bounded UTF-16 text helpers. Every copy into a fixed
// buffer in the plug-in goes through these; capacities always count the
// terminator.
#pragma once

#include <cstddef>
#include <cstdint>

// The host's argument buffer for variable functions, the conversion scratch
// buffers and a command's argument text.
inline constexpr size_t MAX_ARG_LEN = 8192;
// Names, messages and key-name work.
inline constexpr size_t kMaxNameLen = 1024;
// A rebuilt command line.
inline constexpr size_t kMaxLineLen = 65536;
// Arguments a command keeps.
inline constexpr size_t MAX_ARGS = 1024;

// The number of elements of an array; does not compile for a pointer.
template <typename T, size_t N>
constexpr size_t CountOf(const T (&)[N]) {
  return N;
}

// Length of a terminated text.
size_t TextLength(const char16_t* text);

// True for the first and for the second half of a surrogate pair.
constexpr bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Copies source into destination, whose capacity counts the terminator, and
// always terminates (when capacity is above 0). Returns the number of
// characters copied, without the terminator. A text that does not fit is cut,
// never between the two halves of a surrogate pair.
size_t TextCopy(char16_t* destination, size_t capacity, const char16_t* source);
// Appends source to the terminated text in destination, bounded the same way.
// Returns the length of the whole text afterwards.
size_t TextAppend(char16_t* destination, size_t capacity, const char16_t* source);

template <size_t N>
size_t TextCopy(char16_t (&destination)[N], const char16_t* source) {
  return TextCopy(destination, N, source);
}
template <size_t N>
size_t TextAppend(char16_t (&destination)[N], const char16_t* source) {
  return TextAppend(destination, N, source);
}

// Fills count characters with zero.
void TextClear(char16_t* text, size_t count);

// Ends a text that the host or Windows wrote into a buffer of capacity
// characters, in case it filled the buffer without a terminator: the last
// character becomes the terminator, and where that cuts a surrogate pair in
// two, the pair's first half goes with it.
void TerminateText(char16_t* text, size_t capacity);
template <size_t N>
void TerminateText(char16_t (&text)[N]) {
  TerminateText(text, N);
}

// ASCII-only case folding: a to z and A to Z; every other character is kept.
constexpr char16_t AsciiUpper(char16_t c) {
  return (c >= u'a' && c <= u'z') ? c - 32 : c;
}
constexpr char16_t AsciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + 32 : c;
}
// Equal when the texts differ at most in the case of ASCII letters.
bool TextEqualsIgnoreCase(const char16_t* a, const char16_t* b);
// True when text begins with prefix, ignoring the case of ASCII letters.
bool TextStartsWithIgnoreCase(const char16_t* text, const char16_t* prefix);
