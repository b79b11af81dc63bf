// Helpers shared by the libFuzzer targets: reading fields from the fuzzer's
// bytes, checks that stop the run, buffers with a guard after them, and a
// quiet stand-in host with the registry in a folder of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fixtures/guarded_buffer.h"

namespace testing_support {

// Reads little-endian fields from the front of the input; past its end every
// field reads as 0 and every text as empty.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte();
  uint16_t Word();
  uint32_t Dword();
  // Up to maxLength UTF-16LE code units (any value, unpaired surrogates and
  // U+0000 included).
  std::u16string Text(size_t maxLength);
  // All that is left, as UTF-16LE code units.
  std::u16string Rest() { return Text(SIZE_MAX); }
  // A text given by a header and a body, so that the fuzzer reaches long
  // texts with short inputs. The header's first byte, unless it is
  // kPaddingMark, ends it; otherwise a count (two bytes, taken modulo
  // maxLength + 1, so that every length is as likely) of a fill character
  // (two bytes) follows and comes before the body. The text is read up to
  // maxLength code units. A long text costs the fuzzer milliseconds, so
  // most inputs should stay short: a fresh input has one chance in 256.
  static constexpr uint8_t kPaddingMark = 0xFF;
  std::u16string PaddedText(size_t maxLength);

 private:
  const uint8_t* data_;
  size_t size_;
};

// A variable function's argument as the host hands it over: a padded text of
// up to MAX_ARG_LEN characters, terminated unless the first byte is odd.
struct FunctionArgument {
  std::u16string text;
  bool terminated;
};
FunctionArgument ReadFunctionArgument(Input& input);

// Stops the run with a message when a property fails; libFuzzer then keeps
// the input that broke it.
void Check(bool condition, const char* what);

// Stops the run when a guard character after the buffer changed.
void CheckGuard(const GuardedBuffer& buffer, const char* what);
// The length of the buffer's text, stopping the run when no terminator lies
// within the capacity.
size_t TerminatedLength(const GuardedBuffer& buffer, const char* what);
// Puts text (cut at the capacity) and a terminator, when there is room, at
// the start of the buffer and leaves the rest as it was. Refilling a line of
// 65,536 characters for every key press would cost more than the press: a
// target that presses many keys loads the buffer once per input and reloads
// it per press, and checks the guard after each press.
void Reload(GuardedBuffer& buffer, std::u16string_view text);

// Makes the stand-in host quiet (output discarded unless a sink is set later)
// and points both registry roots at files of a fresh temporary folder,
// removed at exit. Only the first call does anything.
void PrepareHost();
// Removes both registry files, so that each input starts with an empty registry.
void ClearRegistry();

// Collects what the host writes, for targets that check messages.
struct Output {
  std::u16string out;
  std::u16string err;
  void Clear() {
    out.clear();
    err.clear();
  }
};
// Sends the host's output to output until the next call (null: discard it).
void CaptureOutput(Output* output);

}  // namespace testing_support
