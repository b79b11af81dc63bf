// The command line being edited, its cursor, and the lines entered before.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/utf.h"

namespace demo {

// The line and its cursor in UTF-16 code units. Moving and deleting step over
// a surrogate pair as one character; blanks separate words.
class EditBuffer {
 public:
  static constexpr size_t kCapacity = 65535;  // the host's line buffer, less its terminator

  const std::u16string& Text() const { return text_; }
  size_t Cursor() const { return cursor_; }

  // The text is cut to the capacity; a cursor beyond it goes to its end.
  void Assign(std::u16string_view text, size_t cursor) {
    text_.assign(text.substr(0, kCapacity));
    cursor_ = std::min(cursor, text_.size());
  }
  void Clear() { Assign({}, 0); }

  // The insertions and deletions return false when nothing changed.
  bool Insert(char32_t character) {
    std::u16string units;
    if (character <= 0x10ffff) support::AppendUtf16(units, character);
    if (units.empty() || text_.size() + units.size() > kCapacity) return false;
    text_.insert(cursor_, units);
    cursor_ += units.size();
    return true;
  }
  bool DeleteBackward() {
    const size_t end = std::exchange(cursor_, Previous(cursor_));
    text_.erase(cursor_, end - cursor_);
    return end != cursor_;
  }
  bool DeleteForward() {
    const size_t length = Next(cursor_) - cursor_;
    text_.erase(cursor_, length);
    return length != 0;
  }
  void DeleteToEnd() { text_.erase(cursor_); }
  void DeleteToStart() { text_.erase(0, std::exchange(cursor_, 0)); }

  void MoveLeft() { cursor_ = Previous(cursor_); }
  void MoveRight() { cursor_ = Next(cursor_); }
  void MoveHome() { cursor_ = 0; }
  void MoveEnd() { cursor_ = text_.size(); }
  // To the start of this or the previous word, or past the end of this or the next.
  void MoveWordLeft() {
    while (cursor_ > 0 && IsBlank(text_[cursor_ - 1])) --cursor_;
    while (cursor_ > 0 && !IsBlank(text_[cursor_ - 1])) --cursor_;
  }
  void MoveWordRight() {
    while (cursor_ < text_.size() && IsBlank(text_[cursor_])) ++cursor_;
    while (cursor_ < text_.size() && !IsBlank(text_[cursor_])) ++cursor_;
  }

 private:
  static bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }
  size_t Previous(size_t at) const {
    if (at < 2) return 0;
    return support::IsSurrogatePair(text_[at - 2], text_[at - 1]) ? at - 2 : at - 1;
  }
  size_t Next(size_t at) const {
    if (at + 2 > text_.size()) return text_.size();
    return support::IsSurrogatePair(text_[at], text_[at + 1]) ? at + 2 : at + 1;
  }

  std::u16string text_;
  size_t cursor_ = 0;
};

// Lines entered before, newest last, browsed with Up and Down. The line as it
// stands when browsing starts comes back after the newest entry.
class History {
 public:
  // Keeps a line entered, but not an empty one or a repeat of the newest.
  void Add(const std::u16string& line) {
    if (!line.empty() && (entries_.empty() || entries_.back() != line)) entries_.push_back(line);
    Restart();
  }
  void Restart() { position_ = entries_.size(); }
  // The entry before the one shown; nothing at the oldest.
  std::optional<std::u16string> Older(const std::u16string& current) {
    if (position_ == 0) return std::nullopt;
    if (position_ == entries_.size()) draft_ = current;
    return entries_[--position_];
  }
  // The entry after the one shown, or the line being written; nothing when not browsing.
  std::optional<std::u16string> Newer() {
    if (position_ >= entries_.size()) return std::nullopt;
    return ++position_ == entries_.size() ? draft_ : entries_[position_];
  }

 private:
  std::vector<std::u16string> entries_;
  size_t position_ = 0;
  std::u16string draft_;
};

}  // namespace demo
