// A buffer of fixed capacity as the host hands one over, followed by a guard
// that nothing may write: every call that writes into the buffer is checked
// against its bound.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

class GuardedBuffer {
 public:
  static constexpr size_t kGuardLength = 64;
  // A noncharacter: no conversion produces it, so a write shows.
  static constexpr char16_t kGuard = u'\uFDD0';
  static constexpr char16_t kFiller = u'Z';

  explicit GuardedBuffer(size_t capacity, std::u16string_view text = {}, bool terminated = true)
      : capacity_(capacity), storage_(capacity + kGuardLength) {
    Load(text, terminated);
  }

  // Puts text at the start (cut at the capacity), then a terminator when
  // `terminated` and there is room; the rest of the buffer holds kFiller and
  // the guard is renewed.
  void Load(std::u16string_view text, bool terminated = true) {
    const auto capacity = static_cast<std::ptrdiff_t>(capacity_);
    std::fill(storage_.begin(), storage_.begin() + capacity, kFiller);
    std::fill(storage_.begin() + capacity, storage_.end(), kGuard);
    const size_t length = std::min(text.size(), capacity_);
    std::copy_n(text.begin(), length, storage_.begin());
    if (terminated && length < capacity_) storage_[length] = u'\0';
  }

  char16_t* Data() { return storage_.data(); }
  const char16_t* Data() const { return storage_.data(); }
  size_t Capacity() const { return capacity_; }

  bool GuardIntact() const {
    return std::all_of(storage_.begin() + static_cast<std::ptrdiff_t>(capacity_), storage_.end(),
                       [](char16_t c) { return c == kGuard; });
  }
  // The length of the text, or nothing when no terminator lies within the
  // capacity.
  std::optional<size_t> TextLength() const {
    const auto end = storage_.begin() + static_cast<std::ptrdiff_t>(capacity_);
    const auto terminator = std::find(storage_.begin(), end, u'\0');
    if (terminator == end) return std::nullopt;
    return static_cast<size_t>(terminator - storage_.begin());
  }
  // The text up to its terminator, or every character when there is none.
  std::u16string Text() const { return std::u16string(Data(), TextLength().value_or(capacity_)); }

 private:
  size_t capacity_;
  std::vector<char16_t> storage_;
};

}  // namespace testing_support
