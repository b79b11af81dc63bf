// @URI2FILE on any argument: the result stays in the host's buffer, and the
// outcome is the one Windows' conversion predicts. The argument as the
// function reads it (at most MAX_ARG_LEN - 1 characters), trimmed by the
// white-space rule and with U+FF05 read as "%", converts to a name; the
// function returns that name, quoted by the quote rule and with each "%"
// doubled, or fails with the message that says why. A name that holds a double quote is refused: no
// quoting could carry it.
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/text.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/oracles.h"

namespace {

using testing_support::Check;

constexpr char16_t kPrefix[] = u"Marivex plugin: ";

// The outcome the rules predict for the argument as the function reads it.
struct Expected {
  std::u16string name;  // on success
  std::u16string errors;
};

Expected Predict(std::u16string_view read) {
  std::u16string uri = testing_support::TrimmedByRule(read);
  if (uri.empty()) return {u"", std::u16string(kPrefix) + u"Missing string\r\n"};
  for (char16_t& c : uri) {
    if (c == u'\uFF05') c = u'%';
  }
  const testing_support::Conversion path = testing_support::WindowsPathOfUrl(uri);
  if (path.result != 0 && path.result != 1) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<uint32_t>(path.result));
    return {u"", std::u16string(kPrefix) + u"Error 0x" + std::u16string(hex, hex + 8) +
                     u" converting string\r\n"};
  }
  if (path.text.empty()) return {u"", std::u16string(kPrefix) + u"No data returned\r\n"};
  if (path.text.find(u'"') != std::u16string::npos) {
    return {u"", std::u16string(kPrefix) + u"Error: a file name cannot hold a double quote\r\n"};
  }
  const std::u16string quoted = testing_support::QuotedByRule(path.text);
  const std::u16string name = testing_support::WithEachPercentDoubled(quoted);
  if (name.size() > MAX_ARG_LEN - 1) {
    return {u"", std::u16string(kPrefix) + u"Error: the file name is too long to return" +
                     (quoted.size() > path.text.size() ? u" in quotes" : u"") + u"\r\n"};
  }
  return {name, u""};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing_support::PrepareHost();
  testing_support::Input input(data, size);
  const testing_support::FunctionArgument argument = testing_support::ReadFunctionArgument(input);

  static testing_support::GuardedBuffer buffer(MAX_ARG_LEN);
  buffer.Load(argument.text, argument.terminated);
  const std::u16string read = testing_support::ArgumentAsRead(buffer.Data());
  const Expected expected = Predict(read);

  testing_support::Output output;
  testing_support::CaptureOutput(&output);
  const int result = f_uri2file(buffer.Data());
  testing_support::CaptureOutput(nullptr);

  CheckGuard(buffer, "@URI2FILE wrote past the buffer");
  TerminatedLength(buffer, "@URI2FILE left no terminator");
  Check(output.out.empty(), "@URI2FILE wrote to standard output");
  Check(output.err == expected.errors, "@URI2FILE's message is not the predicted one");
  Check(result == (expected.errors.empty() ? 0 : -1), "@URI2FILE's result is not 0 or -1 as due");
  if (result == 0) {
    Check(buffer.Text() == expected.name,
          "@URI2FILE's name is not Windows' conversion of the trimmed argument, quoted by rule, "
          "its \"%\" doubled");
  }
  return 0;
}
