// Both conversions between a local file name and a file:// URI, and the rules
// they share: trimming and the quote rule. The variable functions and the
// keystroke hook use these and nothing else to convert.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// The safe percent sign (FULLWIDTH PERCENT SIGN), which stands in for "%" where
// a "%" would be expanded by the shell.
inline constexpr char16_t kSafePercent = 0xFF05;

// Removes leading and trailing white space in place; white space between other
// characters stays. Returns 0, or -1 for a null pointer.
int32_t TrimWhitespace(char16_t* text);

// The number of characters that make a file name need double quotes: white
// space, control characters and < > | , ; &. Each character counts once.
uint32_t CountQuoteTriggers(const char16_t* text);

// Doubles each "%" of text in place, so that the shell, which reads "%%" as
// one "%", gives the text back when it expands it. False, and the text
// untouched, when the doubled text and its terminator would not fit capacity
// characters.
bool DoublePercentSigns(char16_t* text, size_t capacity);

// Turns the file name in buffer (MAX_ARG_LEN characters) into the file URI of
// its canonical full path, in place. With safePercent 0 each "%" of the URI is
// doubled; otherwise it becomes U+FF05. Returns 0, or -1 after writing an error
// (also when the doubled URI would not fit the buffer).
int32_t FileToUri(char16_t* buffer, int32_t safePercent);

// What became of a file URI handed to UriToFile.
enum class UriToFileResult {
  kConverted,       // the buffer holds the file name
  kRefused,         // Windows refused the URI
  kNoFileName,      // Windows gave no file name for it
  kTooLongToQuote,  // the name needs quotes and would not fit with them
  kTooLong,         // the name would not fit with its "%" signs doubled
  kQuoteInName,     // the name would hold a double quote
};

// Turns the file URI in buffer (MAX_ARG_LEN characters) into the local file
// name Windows gives for it, in place, in double quotes when the quote rule
// asks for them and with each "%" doubled. Writes no message: each caller
// reacts to a failure in its own way. The buffer changes only on kConverted;
// windowsResult receives Windows' own result.
UriToFileResult UriToFile(char16_t* buffer, platform::HRESULT* windowsResult);
