// @URI2FILE on any argument: the result stays in the host's buffer, a
// failure says why, and a name comes back in double quotes exactly when the
// quote rule asks for them.
#include <cstdint>
#include <string>

#include "base/text.h"
#include "convert/convert.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using fuzzing::Check;

bool IsFailureMessage(const std::u16string& text) {
  const std::u16string prefix = u"Marivex plugin: ";
  if (text.rfind(prefix, 0) != 0) return false;
  const std::u16string message = text.substr(prefix.size());
  if (message == u"Missing string\r\n" || message == u"No data returned\r\n" ||
      message == u"Error: the file name is too long to return in quotes\r\n") {
    return true;
  }
  // "Error 0x%08x converting string"
  return message.size() == 36 && message.rfind(u"Error 0x", 0) == 0 &&
         message.substr(16) == u" converting string\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::PrepareHost();
  fuzzing::Input input(data, size);
  const fuzzing::FunctionArgument argument = fuzzing::ReadFunctionArgument(input);

  static fuzzing::GuardedBuffer buffer(MAX_ARG_LEN);
  buffer.Load(argument.text, argument.terminated);
  fuzzing::Output output;
  fuzzing::CaptureOutput(&output);
  const int result = f_uri2file(buffer.Data());
  fuzzing::CaptureOutput(nullptr);

  buffer.CheckGuard("@URI2FILE wrote past the buffer");
  const size_t length = buffer.TerminatedLength("@URI2FILE left no terminator");
  Check(output.out.empty(), "@URI2FILE wrote to standard output");
  Check(result == 0 || result == -1, "@URI2FILE returned neither 0 nor -1");
  if (result != 0) {
    Check(IsFailureMessage(output.err), "@URI2FILE failed without one of its messages");
    return 0;
  }
  Check(output.err.empty(), "@URI2FILE succeeded with a message");
  Check(length > 0, "@URI2FILE succeeded with an empty name");
  const std::u16string name = buffer.Text();
  const bool quoted = name.size() >= 2 && name.front() == u'"' && name.back() == u'"';
  const std::u16string bare = quoted ? name.substr(1, name.size() - 2) : name;
  Check(quoted == (CountQuoteTriggers(bare.c_str()) != 0),
        "@URI2FILE quoted a name the quote rule does not ask for, or the reverse");
  return 0;
}
