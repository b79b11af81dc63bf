// @FILE2URI and @FILE2URIS on any argument: results stay in the host's
// buffer, the two functions agree with each other, and a URI made from a
// drive path converts back to the canonical name.
#include <cstdint>
#include <string>

#include "base/host.h"
#include "base/text.h"
#include "convert/convert.h"
#include "plugin/exports.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using fuzzing::Check;
using fuzzing::GuardedBuffer;

// The canonical name the functions convert: the argument as they read it
// (at most MAX_ARG_LEN - 1 characters), trimmed, made canonical by the host.
std::u16string CanonicalArgument(const GuardedBuffer& buffer, bool* empty) {
  const std::u16string_view read(buffer.Data(), buffer.Capacity() - 1);
  std::u16string argument(read.substr(0, read.find(u'\0')));
  TrimWhitespace(argument.data());
  *empty = argument[0] == u'\0';
  static GuardedBuffer canonical(MAX_ARG_LEN);
  canonical.Load(u"");
  QueryTrueName(argument.c_str(), canonical.Data());
  return canonical.Text();
}

// Each "%%" as one "%", left to right; a lone "%" is a fault unless it is the
// last character of a cut result.
std::u16string CollapsePairs(const std::u16string& text, char16_t replacement) {
  std::u16string collapsed;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%') {
      Check(i + 1 < text.size() ? text[i + 1] == u'%' : text.size() == MAX_ARG_LEN - 1,
            "a \"%\" of @FILE2URI is not doubled");
      ++i;
      collapsed += replacement;
    } else {
      collapsed += text[i];
    }
  }
  return collapsed;
}

// A canonical drive path whose URL Windows converts back to the same name:
// "X:\..." without "?" (which ends the escaped part of a URL) and without "/".
bool RoundTrips(const std::u16string& name) {
  return name.size() >= 2 && name[1] == u':' && name.find_first_of(u"?/") == std::u16string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::PrepareHost();
  fuzzing::Input input(data, size);
  const fuzzing::FunctionArgument argument = fuzzing::ReadFunctionArgument(input);

  static GuardedBuffer plain(MAX_ARG_LEN);
  static GuardedBuffer safe(MAX_ARG_LEN);
  plain.Load(argument.text, argument.terminated);
  safe.Load(argument.text, argument.terminated);
  bool empty = false;
  const std::u16string canonical = CanonicalArgument(plain, &empty);

  fuzzing::Output output;
  fuzzing::CaptureOutput(&output);
  const int plainResult = f_file2uri(plain.Data());
  const std::u16string plainErrors = output.err;
  output.Clear();
  const int safeResult = f_file2uris(safe.Data());
  const std::u16string safeErrors = output.err;
  fuzzing::CaptureOutput(nullptr);

  plain.CheckGuard("@FILE2URI wrote past the buffer");
  safe.CheckGuard("@FILE2URIS wrote past the buffer");
  const size_t plainLength = plain.TerminatedLength("@FILE2URI left no terminator");
  safe.TerminatedLength("@FILE2URIS left no terminator");
  Check(plainResult == safeResult, "@FILE2URI and @FILE2URIS disagree on failure");
  Check(plainResult == 0 || plainResult == -1, "@FILE2URI returned neither 0 nor -1");
  Check(plainErrors == safeErrors, "@FILE2URI and @FILE2URIS report different errors");
  if (plainResult != 0) {
    Check(plainErrors == (empty ? u"Marivex plugin: Missing filename\r\n"
                                : u"Marivex plugin: No data returned\r\n"),
          "@FILE2URI failed without its message");
    return 0;
  }
  Check(plainErrors.empty(), "@FILE2URI succeeded with a message");
  Check(!empty, "@FILE2URI converted an empty name");
  const std::u16string uri = plain.Text();
  Check(uri.rfind(u"file:", 0) == 0, "@FILE2URI gave no file URI");
  Check(safe.Text().find(u'%') == std::u16string::npos, "@FILE2URIS left a \"%\"");
  if (plainLength == MAX_ARG_LEN - 1) {
    CollapsePairs(uri, u'%');  // checks the pairs up to the cut
    return 0;
  }
  Check(CollapsePairs(uri, kSafePercent) == safe.Text(), "@FILE2URIS is not @FILE2URI made safe");
  if (RoundTrips(canonical)) {
    const std::u16string windowsUri = CollapsePairs(uri, u'%');
    static GuardedBuffer path(MAX_ARG_LEN);
    path.Load(u"");
    platform::DWORD length = MAX_ARG_LEN;
    const platform::HRESULT back =
        platform::PathCreateFromUrlW(windowsUri.c_str(), path.Data(), &length, 0);
    Check(back == platform::S_OK && path.Text() == canonical,
          "the URI of a drive path does not convert back to the canonical name");
  }
  return 0;
}
