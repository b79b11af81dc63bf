// The choice of key scheme by the version of the host that loaded the plug-in.
#include "hotkey/host_version.h"

#include <cstdint>

#include "base/char_class.h"
#include "base/host_text.h"
#include "base/text.h"

namespace {

// Version numbers outside this range are not believed and count as none.
constexpr uint32_t kOldestHostVersion = 8;
constexpr uint32_t kNewestHostVersion = 100;
// Hosts from this version on use the extended key scheme.
constexpr int32_t kFirstExtendedKeysVersion = 24;

// Reads a decimal number from the start of text the way the C library's
// unsigned 32-bit conversion does: leading white space is skipped, one "+" or
// "-" may follow, then digits are taken up to the first other character.
// "-" negates the number modulo 2^32; text without a leading digit reads as
// 0. Returns false, the range error, for a number beyond 32 bits. Never reads
// more than capacity characters, so text need not be terminated.
bool ReadUnsigned32(const char16_t* text, size_t capacity, uint32_t* value) {
  size_t i = 0;
  while (i < capacity && IsWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < capacity && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  uint64_t number = 0;
  bool outOfRange = false;
  for (; i < capacity && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    number = number * 10 + static_cast<uint64_t>(text[i] - u'0');
    if (number > UINT32_MAX) {
      outOfRange = true;
      number = UINT32_MAX;
    }
  }
  if (outOfRange) {
    *value = UINT32_MAX;
    return false;
  }
  const auto magnitude = static_cast<uint32_t>(number);
  *value = negative ? 0u - magnitude : magnitude;
  return true;
}

}  // namespace

// The host expands "%_4ver" to its version, such as "33.00"; the number before
// the first non-digit is the major version. Anything unreadable, too large or
// implausible leaves no version and so the classic key scheme. A variable
// named _4ver hides the internal one and may hold anything.
void ProbeHostVersion() {
  char16_t buffer[MAX_ARG_LEN];
  ExpandHostText(u"%_4ver", buffer);
  uint32_t version = 0;
  const bool read = ReadUnsigned32(buffer, CountOf(buffer), &version);
  hostMajorVersion = 0;
  if (read && version >= kOldestHostVersion && version <= kNewestHostVersion) {
    hostMajorVersion = static_cast<int32_t>(version);
  }
  extendedKeys = hostMajorVersion >= kFirstExtendedKeysVersion ? 1 : 0;
}
