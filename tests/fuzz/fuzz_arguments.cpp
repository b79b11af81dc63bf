// ArgumentSplitter on any command text: the argument array keeps its
// invariants (pointers inside argText and in order, lengths that match their
// terminators, nothing above argCount, at most MAX_ARGS arguments), and each
// argument comes out unquoted, upper-cased and trimmed.
#include <cstdint>
#include <string>

#include "base/char_class.h"
#include "base/text.h"
#include "command/arguments.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using testing_support::Check;

void CheckArray(int32_t result) {
  Check(result >= -1, "the splitter returned below -1");
  Check(argCount >= 0 && argCount <= static_cast<int32_t>(MAX_ARGS), "argCount out of range");
  Check(result == -1 ? argCount == 0 : argCount == result, "argCount differs from the result");
  const char16_t* earliest = argText;
  const char16_t* end = argText + MAX_ARG_LEN;
  for (int32_t j = 0; j < argCount; ++j) {
    const char16_t* argument = argPointers[j];
    const int32_t length = argLengths[j];
    Check(argument != nullptr, "an argument has no pointer");
    Check(length >= 0, "an argument has a negative length");
    Check(argument >= earliest && argument < end,
          "an argument starts outside argText or out of order");
    Check(length < end - argument, "an argument runs past argText");
    Check(argument[length] == u'\0', "an argument is not terminated at its length");
    for (int32_t i = 0; i < length; ++i) {
      const char16_t c = argument[i];
      Check(c != u'\0', "an argument holds a terminator within its length");
      Check(c != u'"', "an argument kept a double quote");
      Check(!(c >= u'a' && c <= u'z'), "an argument kept a lower-case letter");
    }
    Check(length == 0 || !IsWhiteSpace(argument[length - 1]),
          "an argument kept trailing white space");
    earliest = argument + length + 1;
  }
  for (size_t j = static_cast<size_t>(argCount); j < MAX_ARGS; ++j) {
    Check(argPointers[j] == nullptr && argLengths[j] == 0, "an entry above argCount is set");
  }
  if (argCount == 0) Check(argText[0] == u'\0', "argText is not empty without arguments");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing_support::PrepareHost();
  testing_support::Input input(data, size);
  const std::u16string text = input.PaddedText(2 * MAX_ARG_LEN);

  testing_support::Output output;
  testing_support::CaptureOutput(&output);
  const int32_t result = ArgumentSplitter(text.c_str());
  testing_support::CaptureOutput(nullptr);

  CheckArray(result);
  Check(output.out.empty(), "the splitter wrote to standard output");
  if (result == -1) {
    Check(output.err.rfind(u"Marivex plugin: Buffer overflow: b = ", 0) == 0,
          "an overflow without its message");
  } else {
    Check(output.err.empty(), "the splitter wrote an error without failing");
  }
  // A null text leaves the array as it was.
  Check(ArgumentSplitter(nullptr) == -1, "a null text was split");
  CheckArray(result);
  return 0;
}
