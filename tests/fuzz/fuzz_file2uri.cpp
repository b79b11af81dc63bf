// @FILE2URI and @FILE2URIS on any argument: results stay in the host's
// buffer, and each is Windows' URL of the canonical name with every "%"
// doubled (or written as U+FF05). The argument as the functions read it (at
// most MAX_ARG_LEN - 1 characters) is trimmed by the white-space rule and
// made canonical by the host. A result is never cut: @FILE2URI refuses a
// doubled URI longer than MAX_ARG_LEN - 1 characters, since its start would
// name another file. A URI made from a drive path converts back to the
// canonical name.
#include <cstdint>
#include <string>

#include "base/host_contract.h"
#include "base/text.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/oracles.h"

namespace {

using testing_support::Check;
using testing_support::GuardedBuffer;

std::u16string CanonicalName(const std::u16string& name) {
  static GuardedBuffer canonical(MAX_ARG_LEN);
  canonical.Load(u"");
  QueryTrueName(name.c_str(), canonical.Data());
  return canonical.Text();
}

std::u16string WithEachPercentSafe(std::u16string text) {
  for (char16_t& c : text) {
    if (c == u'%') c = u'\uFF05';
  }
  return text;
}

// A canonical drive path whose URL Windows converts back to the same name:
// "X:\..." without "?" (which ends the escaped part of a URL) and without "/".
bool RoundTrips(const std::u16string& name) {
  return name.size() >= 2 && name[1] == u':' && name.find_first_of(u"?/") == std::u16string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing_support::PrepareHost();
  testing_support::Input input(data, size);
  const testing_support::FunctionArgument argument = testing_support::ReadFunctionArgument(input);

  static GuardedBuffer plain(MAX_ARG_LEN);
  static GuardedBuffer safe(MAX_ARG_LEN);
  plain.Load(argument.text, argument.terminated);
  safe.Load(argument.text, argument.terminated);
  const std::u16string read = testing_support::ArgumentAsRead(plain.Data());
  const std::u16string trimmed = testing_support::TrimmedByRule(read);
  const std::u16string canonical = trimmed.empty() ? u"" : CanonicalName(trimmed);
  const testing_support::Conversion url = testing_support::WindowsUrlOfPath(canonical);

  testing_support::Output output;
  testing_support::CaptureOutput(&output);
  const int plainResult = f_file2uri(plain.Data());
  const std::u16string plainErrors = output.err;
  output.Clear();
  const int safeResult = f_file2uris(safe.Data());
  const std::u16string safeErrors = output.err;
  testing_support::CaptureOutput(nullptr);

  CheckGuard(plain, "@FILE2URI wrote past the buffer");
  CheckGuard(safe, "@FILE2URIS wrote past the buffer");
  TerminatedLength(plain, "@FILE2URI left no terminator");
  TerminatedLength(safe, "@FILE2URIS left no terminator");
  Check(output.out.empty(), "@FILE2URIS wrote to standard output");
  const bool urlMade = url.result == platform::S_OK || url.result == platform::S_FALSE;
  if (trimmed.empty() || !urlMade) {
    const std::u16string error = trimmed.empty() ? u"Marivex plugin: Missing filename\r\n"
                                                 : u"Marivex plugin: No data returned\r\n";
    Check(
        plainResult == -1 && plainErrors == error && safeResult == -1 && safeErrors == error,
        "@FILE2URI or @FILE2URIS did not fail on white space alone or where Windows makes no URL");
    return 0;
  }
  Check(safeResult == 0 && safeErrors.empty(), "@FILE2URIS failed where Windows makes a URL");
  Check(safe.Text() == WithEachPercentSafe(url.text),
        "@FILE2URIS is not Windows' URL of the canonical name with U+FF05 for \"%\"");
  const std::u16string doubled = testing_support::WithEachPercentDoubled(url.text);
  if (doubled.size() > MAX_ARG_LEN - 1) {
    Check(plainResult == -1 &&
              plainErrors == u"Marivex plugin: Error: the URI is too long to return\r\n",
          "@FILE2URI did not refuse a doubled URI too long to return whole");
    return 0;
  }
  Check(plainResult == 0 && plainErrors.empty(), "@FILE2URI failed where Windows makes a URL");
  Check(plain.Text() == doubled,
        "@FILE2URI is not Windows' URL of the canonical name with each \"%\" doubled");
  if (RoundTrips(canonical)) {
    Check(testing_support::WindowsPathOfUrl(url.text).text == canonical,
          "the URI of a drive path does not convert back to the canonical name");
  }
  return 0;
}
