// The command line being edited, its cursor, and the lines entered before.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace demo {

// The text of the line and the cursor in it, in UTF-16 code units. Moving
// and deleting step over a surrogate pair as one character.
class EditBuffer {
 public:
  // The most characters a line holds: the host's line buffer has room for
  // 65,536 with the terminator.
  static constexpr size_t kCapacity = 65535;

  const std::u16string& Text() const { return text_; }
  size_t Cursor() const { return cursor_; }

  // Replaces the text, cut to the capacity, and puts the cursor at cursor or,
  // when that lies beyond the text, at its end.
  void Assign(std::u16string_view text, size_t cursor);
  void Clear() { Assign({}, 0); }

  // Inserts a character at the cursor. False when it does not fit.
  bool Insert(char32_t character);
  // Deletes the character before or at the cursor. False when there is none.
  bool DeleteBackward();
  bool DeleteForward();
  void DeleteToEnd();
  void DeleteToStart();

  void MoveLeft();
  void MoveRight();
  void MoveHome() { cursor_ = 0; }
  void MoveEnd() { cursor_ = text_.size(); }
  // To the start of this or the previous word, or past the end of this or
  // the next word; words are separated by blanks.
  void MoveWordLeft();
  void MoveWordRight();

 private:
  size_t PreviousBoundary(size_t position) const;
  size_t NextBoundary(size_t position) const;

  std::u16string text_;
  size_t cursor_ = 0;
};

// Lines entered before, newest last, browsed with Up and Down. The line being
// written when browsing starts comes back after the newest entry.
class History {
 public:
  // Keeps a line entered; an empty line or a repeat of the newest is skipped.
  void Add(const std::u16string& line);
  // Starts a new line: browsing begins again after the newest entry.
  void Restart() { position_ = entries_.size(); }
  // The entry before the one shown, given the line as it stands now; nothing
  // at the oldest.
  std::optional<std::u16string> Older(const std::u16string& current);
  // The entry after the one shown, or the line being written; nothing when
  // not browsing.
  std::optional<std::u16string> Newer();

 private:
  std::vector<std::u16string> entries_;
  size_t position_ = 0;
  std::u16string draft_;
};

}  // namespace demo
