// @FILE2URI and @FILE2URIS on any argument: results stay in the host's
// buffer, and each is Windows' URL of the canonical name with every "%"
// doubled (or written as U+FF05). The argument as the functions read it (at
// most MAX_ARG_LEN - 1 characters) is trimmed by the white-space rule and
// made canonical by the host; a result cut at MAX_ARG_LEN - 1 characters is
// the start of the whole one. A URI made from a drive path converts back to
// the canonical name.
#include <algorithm>
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

std::u16string WithEachPercentAs(const std::u16string& text, std::u16string_view replacement) {
  std::u16string replaced;
  for (const char16_t c : text) {
    if (c == u'%') {
      replaced += replacement;
    } else {
      replaced += c;
    }
  }
  return replaced;
}

// The result, whole or cut: the expected text, or its first MAX_ARG_LEN - 1
// characters when it does not fit, one fewer where the cut would split a
// surrogate pair.
void CheckResult(const std::u16string& result, const std::u16string& expected, const char* what) {
  size_t kept = std::min(expected.size(), MAX_ARG_LEN - 1);
  const auto isHigh = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  const auto isLow = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  if (kept < expected.size() && isHigh(expected[kept - 1]) && isLow(expected[kept])) --kept;
  Check(result == expected.substr(0, kept), what);
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
  Check(plainResult == safeResult, "@FILE2URI and @FILE2URIS disagree on failure");
  Check(plainErrors == safeErrors, "@FILE2URI and @FILE2URIS report different errors");
  Check(output.out.empty(), "@FILE2URIS wrote to standard output");
  if (trimmed.empty()) {
    Check(plainResult == -1 && plainErrors == u"Marivex plugin: Missing filename\r\n",
          "@FILE2URI did not fail on a name of white space alone");
    return 0;
  }
  if (url.result != platform::S_OK && url.result != platform::S_FALSE) {
    Check(plainResult == -1 && plainErrors == u"Marivex plugin: No data returned\r\n",
          "@FILE2URI did not fail where Windows makes no URL");
    return 0;
  }
  Check(plainResult == 0 && plainErrors.empty(), "@FILE2URI failed where Windows makes a URL");
  CheckResult(plain.Text(), WithEachPercentAs(url.text, u"%%"),
              "@FILE2URI is not Windows' URL of the canonical name with each \"%\" doubled");
  CheckResult(safe.Text(), WithEachPercentAs(url.text, u"\uFF05"),
              "@FILE2URIS is not Windows' URL of the canonical name with U+FF05 for \"%\"");
  if (RoundTrips(canonical)) {
    Check(testing_support::WindowsPathOfUrl(url.text).text == canonical,
          "the URI of a drive path does not convert back to the canonical name");
  }
  return 0;
}
