// The stand-in shell's state, shared by the pieces of the host library.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace host {

struct BatchFrame {
  std::u16string name;                    // canonical name, as %_batchname shows it
  int line = 0;                           // current line, from 1
  std::vector<std::u16string> arguments;  // %0 (the name as called) to %9
};

struct ShellState {
  // Keyed by the upper-cased name; holds the name as set and its value.
  std::map<std::u16string, std::pair<std::u16string, std::u16string>> variables;
  bool hasVersion = true;
  std::u16string version = u"33.00";
  bool transient = false;
  bool pipe = false;
  std::vector<BatchFrame> batches;  // innermost last
  char16_t drive = u'C';
  // Current directory of each drive that has one, without the drive: "\Users".
  std::map<char16_t, std::u16string> directories{{u'C', u"\\Users\\Marivex"}};
  int lastExitCode = 0;
  // Values and function results are expanded again as they go into the line
  // (SETDOS /X+4, TCC's default); off after SETDOS /X-4.
  bool nestedExpansion = true;
  bool exitRequested = false;
  int exitCode = 0;
};

ShellState& State();
void ResetState();

// Upper-cases ASCII letters only, as the shell compares names.
std::u16string UpperAscii(std::u16string_view text);

// Blanks are spaces and tabs, which separate a command's words.
bool IsBlank(char16_t c);
std::u16string_view SkipBlanks(std::u16string_view text);
std::u16string_view TrimEnd(std::u16string_view text);

// Copies text into out, whose capacity counts the terminator; cuts what does
// not fit. Returns the number of characters copied.
size_t CopyOut(std::u16string_view text, char16_t* out, size_t capacity);

}  // namespace host
