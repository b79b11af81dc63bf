// Editing the command line, and browsing the lines entered before.
#include "demo/edit_buffer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/utf.h"

namespace {

using demo::EditBuffer;

// The buffer shown with "|" at the cursor.
std::string Shown(const EditBuffer& buffer) {
  const std::u16string_view text = buffer.Text();
  return support::ToUtf8(text.substr(0, buffer.Cursor())) + "|" +
         support::ToUtf8(text.substr(buffer.Cursor()));
}

TEST(EditBufferTest, Operations) {
  const struct {
    const char* what;
    std::u16string text;
    size_t cursor;
    std::function<void(EditBuffer&)> operation;
    const char* expected;
  } rows[] = {
      {"insert", u"ac", 1, [](EditBuffer& b) { b.Insert(U'b'); }, "ab|c"},
      {"insert beyond 16 bits", u"", 0, [](EditBuffer& b) { b.Insert(U'\U0001f600'); },
       "\U0001f600|"},
      {"delete backward", u"abc", 2, &EditBuffer::DeleteBackward, "a|c"},
      {"delete backward at the start", u"abc", 0, &EditBuffer::DeleteBackward, "|abc"},
      {"delete forward", u"abc", 1, &EditBuffer::DeleteForward, "a|c"},
      {"delete forward at the end", u"abc", 3, &EditBuffer::DeleteForward, "abc|"},
      {"delete backward over a pair", u"a\U0001f600", 3, &EditBuffer::DeleteBackward, "a|"},
      {"delete forward over a pair", u"\U0001f600b", 0, &EditBuffer::DeleteForward, "|b"},
      {"left over a pair", u"a\U0001f600", 3, &EditBuffer::MoveLeft, "a|\U0001f600"},
      {"right over a pair", u"\U0001f600b", 0, &EditBuffer::MoveRight, "\U0001f600|b"},
      {"left at the start", u"ab", 0, &EditBuffer::MoveLeft, "|ab"},
      {"right at the end", u"ab", 2, &EditBuffer::MoveRight, "ab|"},
      {"home", u"ab", 1, &EditBuffer::MoveHome, "|ab"},
      {"end", u"ab", 1, &EditBuffer::MoveEnd, "ab|"},
      {"word left", u"type  a.txt", 8, &EditBuffer::MoveWordLeft, "type  |a.txt"},
      {"word left from a word start", u"type  a.txt", 6, &EditBuffer::MoveWordLeft, "|type  a.txt"},
      {"word right", u"type  a.txt", 1, &EditBuffer::MoveWordRight, "type|  a.txt"},
      {"word right from a word end", u"type  a.txt", 4, &EditBuffer::MoveWordRight, "type  a.txt|"},
      {"delete to end", u"abcd", 2, &EditBuffer::DeleteToEnd, "ab|"},
      {"delete to start", u"abcd", 2, &EditBuffer::DeleteToStart, "|cd"},
      {"assign puts a far cursor at the end", u"", 0, [](EditBuffer& b) { b.Assign(u"xyz", 99); },
       "xyz|"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EditBuffer buffer;
    buffer.Assign(row.text, row.cursor);
    row.operation(buffer);
    EXPECT_EQ(Shown(buffer), row.expected);
  }
}

// The line holds what the host's 65,536-character buffer holds with its terminator.
TEST(EditBufferTest, CapacityBoundary) {
  EditBuffer buffer;
  buffer.Assign(std::u16string(EditBuffer::kCapacity - 2, u'x'), EditBuffer::kCapacity);
  EXPECT_TRUE(buffer.Insert(U'y'));            // one short: fits
  EXPECT_FALSE(buffer.Insert(U'\U0001f600'));  // a pair would go one over
  EXPECT_TRUE(buffer.Insert(U'z'));            // exactly full
  EXPECT_FALSE(buffer.Insert(U'w'));           // one over
  EXPECT_EQ(buffer.Text().size(), EditBuffer::kCapacity);
  EXPECT_EQ(buffer.Text().substr(EditBuffer::kCapacity - 2), u"yz");

  buffer.Assign(std::u16string(EditBuffer::kCapacity + 5, u'x'), 0);
  EXPECT_EQ(buffer.Text().size(), EditBuffer::kCapacity);
}

TEST(HistoryTest, BrowsesOlderAndNewerAndKeepsTheDraft) {
  demo::History history;
  EXPECT_FALSE(history.Older(u"draft"));
  history.Add(u"first");
  history.Add(u"");  // not kept
  history.Add(u"second");
  history.Add(u"second");  // a repeat is not kept
  EXPECT_EQ(history.Older(u"draft"), u"second");
  EXPECT_EQ(history.Older(u"second"), u"first");
  EXPECT_FALSE(history.Older(u"first"));
  EXPECT_EQ(history.Newer(), u"second");
  EXPECT_EQ(history.Newer(), u"draft");
  EXPECT_FALSE(history.Newer());
  history.Restart();
  EXPECT_EQ(history.Older(u""), u"second");
}

}  // namespace
