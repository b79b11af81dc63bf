// @ISURL on any argument: always a success, and the kind of the untrimmed
// argument (as the function reads it, at most MAX_ARG_LEN - 1 characters)
// by a table of schemes of the target's own, in decimal. This holds the
// stand-in host's QueryIsURL and the plug-in's use of it together.
#include <cstdint>
#include <string>

#include "base/text.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/oracles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing_support::PrepareHost();
  testing_support::Input input(data, size);
  const testing_support::FunctionArgument argument = testing_support::ReadFunctionArgument(input);

  static testing_support::GuardedBuffer buffer(MAX_ARG_LEN);
  buffer.Load(argument.text, argument.terminated);
  const std::u16string read = testing_support::ArgumentAsRead(buffer.Data());
  const int expected = testing_support::UrlKindByScheme(read);

  testing_support::Output output;
  testing_support::CaptureOutput(&output);
  const int result = f_isurl(buffer.Data());
  testing_support::CaptureOutput(nullptr);

  CheckGuard(buffer, "@ISURL wrote past the buffer");
  TerminatedLength(buffer, "@ISURL left no terminator");
  testing_support::Check(result == 0, "@ISURL failed");
  testing_support::Check(output.out.empty() && output.err.empty(), "@ISURL wrote output");
  testing_support::Check(buffer.Text() == std::u16string(1, static_cast<char16_t>(u'0' + expected)),
                         "@ISURL does not give the kind of the argument's scheme");
  return 0;
}
