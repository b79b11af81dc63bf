// Under Wine: the plug-in's exports f_file2uri and f_uri2file against the bare
// Win32 conversions they wrap, UrlCreateFromPathW and PathCreateFromUrlW, each
// given the same 8,192-character output buffer. The host's QueryTrueName,
// which f_file2uri calls as well, is timed on its own.
//
// Loads Marivex.dll from its own folder as the host does and prints one JSON
// object: for each case the nanoseconds per call of the export, of the bare
// call, of the bare call after clearing its buffer as the export must, of
// the export's floor (as in the native benchmarks) and, for f_file2uri, of
// QueryTrueName. Each is the fastest of seven
// runs of about 50 ms, so that other work on the machine counts least.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/inputs.h"

namespace {

constexpr size_t kBufferLength = 8192;

using VariableFunction = int (*)(char16_t*);
using QueryTrueNameFunction = int (*)(const char16_t*, char16_t*);

char16_t argument[kBufferLength];
char16_t output[kBufferLength];
char16_t floorScratch[kBufferLength];
char16_t floorPass[kBufferLength];

LPWSTR Wide(char16_t* text) {
  return reinterpret_cast<LPWSTR>(text);
}

void Refill(const std::u16string& input) {
  std::memcpy(argument, input.c_str(), (input.size() + 1) * sizeof(char16_t));
}

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

// The fastest of seven runs, in nanoseconds per call; the number of calls in
// a run is doubled until a run takes 50 ms.
template <typename Op>
double NsPerCall(Op op) {
  size_t calls = 1;
  for (;;) {
    const double start = Now();
    for (size_t i = 0; i < calls; ++i) op();
    if (Now() - start >= 0.05) break;
    calls *= 2;
  }
  double best = 1e30;
  for (int run = 0; run < 7; ++run) {
    const double start = Now();
    for (size_t i = 0; i < calls; ++i) op();
    best = std::min(best, (Now() - start) / static_cast<double>(calls) * 1e9);
  }
  return best;
}

// The floor of either export, as natively: the refill, clearing the one
// 8,192-character scratch buffer, and one pass over the input.
double FloorNs(const std::u16string& input) {
  return NsPerCall([&] {
    Refill(input);
    std::memset(floorScratch, 0, sizeof(floorScratch));
    std::memcpy(floorPass, input.data(), input.size() * sizeof(char16_t));
    asm volatile("" : : : "memory");
  });
}

bool Check(const char* what, int result, const std::u16string& expected) {
  if (result == 0 && expected == argument) return true;
  std::fprintf(stderr, "url_timing: %s gives an unexpected result\n", what);
  return false;
}

}  // namespace

int main() {
  HMODULE plugin = LoadLibraryW(L"Marivex.dll");
  HMODULE host = GetModuleHandleW(L"TakeCmd.dll");
  if (plugin == nullptr || host == nullptr) {
    std::fprintf(stderr, "url_timing: cannot load Marivex.dll and TakeCmd.dll\n");
    return 1;
  }
  const auto file2uri = reinterpret_cast<VariableFunction>(
      reinterpret_cast<void*>(GetProcAddress(plugin, "f_file2uri")));
  const auto uri2file = reinterpret_cast<VariableFunction>(
      reinterpret_cast<void*>(GetProcAddress(plugin, "f_uri2file")));
  const auto queryTrueName = reinterpret_cast<QueryTrueNameFunction>(
      reinterpret_cast<void*>(GetProcAddress(host, "QueryTrueName")));
  if (file2uri == nullptr || uri2file == nullptr || queryTrueName == nullptr) {
    std::fprintf(stderr, "url_timing: an export is missing\n");
    return 1;
  }

  std::printf("{");
  const char* separator = "";
  for (const auto& [label, name] : bench::ConversionNames()) {
    Refill(name);
    if (!Check("f_file2uri", file2uri(argument), bench::DoubledUri(name))) return 1;
    const double exportNs = NsPerCall([&, name = name] {
      Refill(name);
      file2uri(argument);
    });
    const double bareNs = NsPerCall([&, name = name] {
      Refill(name);
      DWORD length = kBufferLength;
      UrlCreateFromPathW(Wide(argument), Wide(output), &length, 0);
    });
    // The bare call whose caller clears the buffer first, as the export must.
    const double bareClearedNs = NsPerCall([&, name = name] {
      Refill(name);
      std::memset(output, 0, sizeof(output));
      DWORD length = kBufferLength;
      UrlCreateFromPathW(Wide(argument), Wide(output), &length, 0);
    });
    const double trueNameNs = NsPerCall([&, name = name] { queryTrueName(name.c_str(), output); });
    std::printf(
        "%s\"file2uri_%s\": {\"export_ns\": %.1f, \"bare_ns\": %.1f, \"query_true_name_ns\": "
        "%.1f, \"floor_ns\": %.1f, \"bare_cleared_ns\": %.1f}",
        separator, label, exportNs, bareNs, trueNameNs, FloorNs(name), bareClearedNs);
    separator = ", ";

    const std::u16string uri = bench::UriOf(name);
    const std::u16string expected = name.find(u' ') == name.npos ? name : u"\"" + name + u"\"";
    Refill(uri);
    if (!Check("f_uri2file", uri2file(argument), expected)) return 1;
    const double uriExportNs = NsPerCall([&] {
      Refill(uri);
      uri2file(argument);
    });
    const double uriBareNs = NsPerCall([&] {
      Refill(uri);
      DWORD length = kBufferLength;
      PathCreateFromUrlW(Wide(argument), Wide(output), &length, 0);
    });
    const double uriBareClearedNs = NsPerCall([&] {
      Refill(uri);
      std::memset(output, 0, sizeof(output));
      DWORD length = kBufferLength;
      PathCreateFromUrlW(Wide(argument), Wide(output), &length, 0);
    });
    std::printf(
        "%s\"uri2file_%s\": {\"export_ns\": %.1f, \"bare_ns\": %.1f, \"floor_ns\": %.1f, "
        "\"bare_cleared_ns\": %.1f}",
        separator, label, uriExportNs, uriBareNs, FloorNs(uri), uriBareClearedNs);
  }
  std::printf("}\n");
  return 0;
}
