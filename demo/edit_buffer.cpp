// Editing operations on the command line, and the history of lines.
#include "demo/edit_buffer.h"

namespace demo {

namespace {

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xd800 && unit <= 0xdbff;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xdc00 && unit <= 0xdfff;
}
bool IsBlank(char16_t unit) {
  return unit == u' ' || unit == u'\t';
}

}  // namespace

void EditBuffer::Assign(std::u16string_view text, size_t cursor) {
  text_.assign(text.substr(0, kCapacity));
  cursor_ = cursor < text_.size() ? cursor : text_.size();
}

bool EditBuffer::Insert(char32_t character) {
  std::u16string units;
  if (character >= 0x10000 && character <= 0x10ffff) {
    units += static_cast<char16_t>(0xd800 + ((character - 0x10000) >> 10));
    units += static_cast<char16_t>(0xdc00 + ((character - 0x10000) & 0x3ff));
  } else if (character < 0x10000) {
    units += static_cast<char16_t>(character);
  } else {
    return false;
  }
  if (text_.size() + units.size() > kCapacity) return false;
  text_.insert(cursor_, units);
  cursor_ += units.size();
  return true;
}

size_t EditBuffer::PreviousBoundary(size_t position) const {
  if (position == 0) return 0;
  --position;
  if (position > 0 && IsLowSurrogate(text_[position]) && IsHighSurrogate(text_[position - 1])) {
    --position;
  }
  return position;
}

size_t EditBuffer::NextBoundary(size_t position) const {
  if (position >= text_.size()) return text_.size();
  ++position;
  if (position < text_.size() && IsLowSurrogate(text_[position]) &&
      IsHighSurrogate(text_[position - 1])) {
    ++position;
  }
  return position;
}

bool EditBuffer::DeleteBackward() {
  if (cursor_ == 0) return false;
  const size_t start = PreviousBoundary(cursor_);
  text_.erase(start, cursor_ - start);
  cursor_ = start;
  return true;
}

bool EditBuffer::DeleteForward() {
  if (cursor_ >= text_.size()) return false;
  text_.erase(cursor_, NextBoundary(cursor_) - cursor_);
  return true;
}

void EditBuffer::DeleteToEnd() {
  text_.erase(cursor_);
}

void EditBuffer::DeleteToStart() {
  text_.erase(0, cursor_);
  cursor_ = 0;
}

void EditBuffer::MoveLeft() {
  cursor_ = PreviousBoundary(cursor_);
}

void EditBuffer::MoveRight() {
  cursor_ = NextBoundary(cursor_);
}

void EditBuffer::MoveWordLeft() {
  while (cursor_ > 0 && IsBlank(text_[cursor_ - 1])) --cursor_;
  while (cursor_ > 0 && !IsBlank(text_[cursor_ - 1])) --cursor_;
}

void EditBuffer::MoveWordRight() {
  while (cursor_ < text_.size() && IsBlank(text_[cursor_])) ++cursor_;
  while (cursor_ < text_.size() && !IsBlank(text_[cursor_])) ++cursor_;
}

void History::Add(const std::u16string& line) {
  if (!line.empty() && (entries_.empty() || entries_.back() != line)) entries_.push_back(line);
  Restart();
}

std::optional<std::u16string> History::Older(const std::u16string& current) {
  if (position_ == 0) return std::nullopt;
  if (position_ == entries_.size()) draft_ = current;
  return entries_[--position_];
}

std::optional<std::u16string> History::Newer() {
  if (position_ >= entries_.size()) return std::nullopt;
  ++position_;
  return position_ == entries_.size() ? draft_ : entries_[position_];
}

}  // namespace demo
