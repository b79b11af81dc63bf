// The stand-in registry's file reader on any bytes: it never reads outside
// them, and what it accepts is a store that writes back as the same bytes
// and reads again as the same store.
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "platform/posix/registry_store.h"
#include "tests/fuzz/fuzz_support.h"

using standin::registry::ParseStore;
using standin::registry::SerializeStore;

namespace {

// CRC-32 (IEEE), as the file's header holds it.
uint32_t Crc32(const uint8_t* bytes, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return crc ^ 0xFFFFFFFFu;
}

// The fuzzer cannot forge a checksum. An input whose first byte is even is
// therefore taken, without that byte, as a file's body behind a header with
// the right checksum; any other input (a whole file begins with an odd "M")
// is the whole file.
std::vector<uint8_t> FileOf(const uint8_t* data, size_t size) {
  if (size == 0 || (data[0] & 1) != 0) return {data, data + size};
  const uint8_t* body = data + 1;
  const size_t bodySize = size - 1;
  std::vector<uint8_t> file(24 + bodySize);
  std::memcpy(file.data(), "MarivexRegistry\n", 16);
  const uint32_t words[2] = {1, Crc32(body, bodySize)};
  for (size_t i = 0; i < 8; ++i) file[16 + i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
  if (bodySize != 0) std::memcpy(file.data() + 24, body, bodySize);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A buffer of exactly the file's size, so that a read past it is caught.
  const std::vector<uint8_t> bytes = FileOf(data, size);
  const auto store = ParseStore(std::span<const uint8_t>(bytes.data(), bytes.size()));
  if (!store) return 0;
  const std::vector<uint8_t> written = SerializeStore(*store);
  testing_support::Check(written == bytes,
                         "an accepted file does not write back as the same bytes");
  const auto again = ParseStore(written);
  testing_support::Check(again.has_value() && *again == *store,
                         "a written store does not read back");
  return 0;
}
