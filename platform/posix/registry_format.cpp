// The registry stand-in's file format.
//
// One file holds one root. All numbers are little-endian; names are UTF-16LE
// code units, counted, without terminators.
//
//   offset  size  field
//        0    16  "MarivexRegistry\n"
//       16     4  format version, 1
//       20     4  CRC-32 (IEEE) of every byte from offset 24 to the end
//       24     8  the id the next new key will get
//       32     4  number of keys, then each key:
//                   8  id (0 for the root, whose path is empty)
//                   4  path length, then the path (names joined by '\')
//                   4  number of values, then each value:
//                        4  name length, then the name
//                        4  type
//                        4  data size, then the data
//
// The file ends exactly after the last key. A reader trusts none of it: a
// file that is cut short, too long, fails its checksum or breaks any rule
// above (an empty name inside a path, a key or value named twice, an id out
// of range) is not a store at all.
#include <array>
#include <cstring>
#include <set>

#include "platform/posix/registry_store.h"

namespace standin::registry {

namespace {

constexpr char kMagic[] = "MarivexRegistry\n";
constexpr size_t kMagicSize = sizeof(kMagic) - 1;
constexpr uint32_t kFormatVersion = 1;
constexpr size_t kChecksumOffset = kMagicSize + 4;
constexpr size_t kBodyOffset = kChecksumOffset + 4;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(std::span<const uint8_t> bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t byte : bytes) crc = kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

// Reads fields from untrusted bytes; every read checks what is left first,
// and a failed read leaves the reader failed for good.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool AtEnd() const { return ok_ && position_ == bytes_.size(); }
  bool Ok() const { return ok_; }

  uint32_t U32() { return static_cast<uint32_t>(Number(4)); }
  uint64_t U64() { return Number(8); }

  std::u16string Text() {
    const uint32_t length = U32();
    std::u16string text;
    if (!Has(size_t{length} * 2)) return text;
    text.resize(length);
    for (uint32_t i = 0; i < length; ++i) {
      text[i] = static_cast<char16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
      position_ += 2;
    }
    return text;
  }

  std::vector<uint8_t> Bytes() {
    const uint32_t size = U32();
    if (!Has(size)) return {};
    std::vector<uint8_t> data(bytes_.begin() + static_cast<std::ptrdiff_t>(position_),
                              bytes_.begin() + static_cast<std::ptrdiff_t>(position_ + size));
    position_ += size;
    return data;
  }

 private:
  bool Has(size_t count) {
    if (ok_ && count > bytes_.size() - position_) ok_ = false;
    return ok_;
  }

  uint64_t Number(size_t size) {
    if (!Has(size)) return 0;
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) value |= uint64_t{bytes_[position_ + i]} << (8 * i);
    position_ += size;
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
  bool ok_ = true;
};

class Writer {
 public:
  void U32(uint32_t value) { Number(value, 4); }
  void U64(uint64_t value) { Number(value, 8); }
  void Text(std::u16string_view text) {
    U32(static_cast<uint32_t>(text.size()));
    for (char16_t c : text) Number(c, 2);
  }
  void Bytes(std::span<const uint8_t> data) {
    U32(static_cast<uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
  }
  std::vector<uint8_t>& Result() { return bytes_; }

 private:
  void Number(uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  std::vector<uint8_t> bytes_;
};

// A key path is empty (the root) or names separated by single backslashes.
bool WellFormedPath(std::u16string_view path) {
  if (path.empty()) return true;
  if (path.front() == u'\\' || path.back() == u'\\') return false;
  return path.find(u"\\\\") == std::u16string_view::npos;
}

bool ReadKey(Reader& reader, uint64_t nextKeyId, Key& key) {
  key.id = reader.U64();
  key.path = reader.Text();
  if (!reader.Ok() || !WellFormedPath(key.path)) return false;
  if (key.path.empty() ? key.id != 0 : key.id == 0 || key.id >= nextKeyId) return false;

  const uint32_t valueCount = reader.U32();
  std::set<std::u16string> names;
  for (uint32_t i = 0; i < valueCount && reader.Ok(); ++i) {
    Value value;
    value.name = reader.Text();
    value.type = reader.U32();
    value.data = reader.Bytes();
    if (!reader.Ok() || value.name.size() > kMaxValueNameLength) return false;
    if (!names.insert(FoldedName(value.name)).second) return false;
    key.values.push_back(std::move(value));
  }
  return reader.Ok();
}

}  // namespace

std::optional<Store> ParseStore(std::span<const uint8_t> bytes) {
  if (bytes.size() < kBodyOffset || bytes.size() > kMaxStoreFileSize) return std::nullopt;
  if (std::memcmp(bytes.data(), kMagic, kMagicSize) != 0) return std::nullopt;

  Reader header(bytes.subspan(kMagicSize, kBodyOffset - kMagicSize));
  const uint32_t version = header.U32();
  const uint32_t checksum = header.U32();
  if (version != kFormatVersion) return std::nullopt;
  const std::span<const uint8_t> body = bytes.subspan(kBodyOffset);
  if (Crc32(body) != checksum) return std::nullopt;

  Reader reader(body);
  Store store;
  store.nextKeyId = reader.U64();
  const uint32_t keyCount = reader.U32();
  std::set<std::u16string> paths;
  std::set<uint64_t> ids;
  for (uint32_t i = 0; i < keyCount && reader.Ok(); ++i) {
    Key key;
    if (!ReadKey(reader, store.nextKeyId, key)) return std::nullopt;
    if (!paths.insert(FoldedName(key.path)).second) return std::nullopt;
    if (!ids.insert(key.id).second) return std::nullopt;
    store.keys.push_back(std::move(key));
  }
  if (!reader.AtEnd()) return std::nullopt;
  return store;
}

std::vector<uint8_t> SerializeStore(const Store& store) {
  Writer writer;
  writer.U64(store.nextKeyId);
  writer.U32(static_cast<uint32_t>(store.keys.size()));
  for (const Key& key : store.keys) {
    writer.U64(key.id);
    writer.Text(key.path);
    writer.U32(static_cast<uint32_t>(key.values.size()));
    for (const Value& value : key.values) {
      writer.Text(value.name);
      writer.U32(value.type);
      writer.Bytes(value.data);
    }
  }
  const std::vector<uint8_t>& body = writer.Result();

  std::vector<uint8_t> file(kMagic, kMagic + kMagicSize);
  Writer header;
  header.U32(kFormatVersion);
  header.U32(Crc32(body));
  file.insert(file.end(), header.Result().begin(), header.Result().end());
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

}  // namespace standin::registry
