// The demo's key path survives any bytes a terminal may send: the bytes are
// decoded into key presses, each press is mapped to the host's code and
// label under both key schemes, offered to the plug-in's hook with the line
// being edited, and then applied to the edit buffer as the line editor does.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "demo/edit_buffer.h"
#include "demo/host_keys.h"
#include "demo/terminal_keys.h"
#include "host/takecmd.h"
#include "platform/posix/standin.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using testing_support::Check;

// Presses at most this many keys per input, so that one input stays cheap.
constexpr size_t kMaxPresses = 256;

// The host's line buffer, filled once per input and reloaded per press.
testing_support::GuardedBuffer& Line() {
  static testing_support::GuardedBuffer line(kMaxLineLen);
  return line;
}

// Offers the press to the hook with the buffer's line, as the line editor
// does; true when the hook swallowed the key.
bool OfferToHook(const demo::KeyPress& press, demo::KeyScheme scheme, demo::EditBuffer& buffer) {
  testing_support::GuardedBuffer& line = Line();
  demo::HostKey hostKey = demo::HostKeyOf(press, scheme);
  Check(hostKey.code == 0 || hostKey.label.empty(), "a key has both a code and a label");
  Check(scheme == demo::KeyScheme::kExtended || hostKey.label.empty(),
        "an older host named a key by label");
  testing_support::Reload(line, buffer.Text());
  KeystrokeRecord record{};
  record.keyCode = hostKey.code;
  record.line = line.Data();
  record.cursor = line.Data() + buffer.Cursor();
  std::u16string label = hostKey.label;
  if (!label.empty()) record.keyLabel = label.data();
  standin::SetKeyDown(platform::VK_SHIFT, (press.modifiers & demo::kShift) != 0);
  standin::SetKeyDown(platform::VK_CONTROL, (press.modifiers & demo::kCtrl) != 0);
  standin::SetKeyDown(platform::VK_MENU, (press.modifiers & demo::kAlt) != 0);
  HostKeystroke(&record);
  standin::ReleaseAllKeys();
  CheckGuard(line, "the hook wrote past the line");
  const size_t length = TerminatedLength(line, "the hook left the line unterminated");
  Check(record.cursor >= record.line && record.cursor <= record.line + length,
        "the hook left the cursor outside the line");
  if (record.redraw != 0) {
    buffer.Assign(std::u16string_view(line.Data(), length),
                  static_cast<size_t>(record.cursor - record.line));
  }
  return record.keyCode == 0 && (hostKey.code != 0 || !hostKey.label.empty());
}

void Perform(const demo::KeyPress& press, demo::EditBuffer& buffer) {
  switch (press.key) {
    case demo::Key::kCharacter:
      if (press.modifiers == 0 || press.modifiers == demo::kShift) {
        buffer.Insert(press.character);
      } else if (press.modifiers == demo::kCtrl && press.character == U'k') {
        buffer.DeleteToEnd();
      } else if (press.modifiers == demo::kCtrl && press.character == U'u') {
        buffer.DeleteToStart();
      }
      break;
    case demo::Key::kBackspace:
      buffer.DeleteBackward();
      break;
    case demo::Key::kDel:
      buffer.DeleteForward();
      break;
    case demo::Key::kLeft:
      (press.modifiers & demo::kCtrl) != 0 ? buffer.MoveWordLeft() : buffer.MoveLeft();
      break;
    case demo::Key::kRight:
      (press.modifiers & demo::kCtrl) != 0 ? buffer.MoveWordRight() : buffer.MoveRight();
      break;
    case demo::Key::kHome:
      buffer.MoveHome();
      break;
    case demo::Key::kEnd:
      buffer.MoveEnd();
      break;
    case demo::Key::kEscape:
      buffer.Clear();
      break;
    default:
      break;
  }
  Check(buffer.Text().size() <= demo::EditBuffer::kCapacity, "the line outgrew its capacity");
  Check(buffer.Cursor() <= buffer.Text().size(), "the cursor left the line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool prepared = [] {
    testing_support::PrepareHost();
    Check(HostLoadPlugin(MARIVEX_PLUGIN_FILE) == 0, "cannot load the plug-in");
    return true;
  }();
  (void)prepared;
  if (size == 0) return 0;
  const demo::KeyScheme scheme =
      (data[0] & 1) != 0 ? demo::KeyScheme::kExtended : demo::KeyScheme::kClassic;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  HostExecute(u"marivexkey /d /q");
  Line().Load(u"");
  demo::EditBuffer buffer;
  size_t at = 0;
  for (size_t presses = 0; at < bytes.size() && presses < kMaxPresses; ++presses) {
    // While more bytes follow, a key may wait for the rest of its sequence;
    // the stream ends as a terminal's input does, with everything taken.
    const std::string_view rest = bytes.substr(at);
    demo::DecodedKey decoded = demo::DecodeKey(rest, true);
    if (!decoded.complete) decoded = demo::DecodeKey(rest, false);
    Check(decoded.complete, "the end of input left a key undecided");
    Check(decoded.length >= 1 && decoded.length <= rest.size(), "a key's length is out of range");
    at += decoded.length;
    demo::CombinationName(decoded.press, scheme);
    if (!OfferToHook(decoded.press, scheme, buffer)) Perform(decoded.press, buffer);
  }
  return 0;
}
