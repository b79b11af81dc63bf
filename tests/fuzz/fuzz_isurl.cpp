// @ISURL on any argument: the host's kind of the untrimmed argument, in
// decimal, always a success.
#include <cstdint>
#include <string>

#include "base/host.h"
#include "base/text.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::PrepareHost();
  fuzzing::Input input(data, size);
  const fuzzing::FunctionArgument argument = fuzzing::ReadFunctionArgument(input);

  static fuzzing::GuardedBuffer buffer(MAX_ARG_LEN);
  buffer.Load(argument.text, argument.terminated);
  const std::u16string_view read(buffer.Data(), MAX_ARG_LEN - 1);
  const std::u16string seen(read.substr(0, read.find(u'\0')));
  const int expected = seen.empty() ? 0 : QueryIsURL(seen.c_str());

  fuzzing::Output output;
  fuzzing::CaptureOutput(&output);
  const int result = f_isurl(buffer.Data());
  fuzzing::CaptureOutput(nullptr);

  buffer.CheckGuard("@ISURL wrote past the buffer");
  buffer.TerminatedLength("@ISURL left no terminator");
  fuzzing::Check(result == 0, "@ISURL failed");
  fuzzing::Check(output.out.empty() && output.err.empty(), "@ISURL wrote output");
  fuzzing::Check(expected >= 0 && expected <= 8, "the host gave a kind out of range");
  fuzzing::Check(buffer.Text() == std::u16string(1, static_cast<char16_t>(u'0' + expected)),
                 "@ISURL does not give the host's kind");
  return 0;
}
