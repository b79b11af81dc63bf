#include "tests/support/module_image.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace testing_support {

namespace {

template <typename T>
bool Read(const std::vector<unsigned char>& image, size_t offset, T& value) {
  if (offset > image.size() || image.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, image.data() + offset, sizeof(T));
  return true;
}

std::string ReadString(const std::vector<unsigned char>& image, size_t offset) {
  std::string text;
  for (; offset < image.size() && image[offset] != 0; ++offset) {
    text += static_cast<char>(image[offset]);
  }
  return text;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// --- PE ---------------------------------------------------------------------

struct PeSection {
  uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

struct PeImage {
  std::vector<PeSection> sections;
  uint32_t exportRva = 0, importRva = 0;
};

bool ParsePe(const std::vector<unsigned char>& image, PeImage& pe) {
  uint32_t peOffset = 0;
  uint32_t signature = 0;
  if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z' || !Read(image, 0x3C, peOffset) ||
      !Read(image, peOffset, signature) || signature != 0x00004550) {
    return false;
  }
  const size_t fileHeader = peOffset + 4;
  uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
  Read(image, fileHeader + 2, sectionCount);
  Read(image, fileHeader + 16, optionalSize);
  const size_t optional = fileHeader + 20;
  Read(image, optional, magic);
  if (magic != 0x20B) return false;  // PE32+
  Read(image, optional + 112, pe.exportRva);
  Read(image, optional + 120, pe.importRva);
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t header = optional + optionalSize + i * 40u;
    PeSection section{};
    Read(image, header + 8, section.virtualSize);
    Read(image, header + 12, section.virtualAddress);
    Read(image, header + 16, section.rawSize);
    Read(image, header + 20, section.rawOffset);
    pe.sections.push_back(section);
  }
  return true;
}

size_t RvaToOffset(const PeImage& pe, uint32_t rva) {
  for (const auto& s : pe.sections) {
    if (rva >= s.virtualAddress && rva < s.virtualAddress + std::max(s.virtualSize, s.rawSize)) {
      return s.rawOffset + (rva - s.virtualAddress);
    }
  }
  return SIZE_MAX;
}

std::set<std::string> PeExports(const std::vector<unsigned char>& image, const PeImage& pe) {
  std::set<std::string> names;
  if (pe.exportRva == 0) return names;
  const size_t directory = RvaToOffset(pe, pe.exportRva);
  uint32_t nameCount = 0, namesRva = 0;
  Read(image, directory + 24, nameCount);
  Read(image, directory + 32, namesRva);
  const size_t nameTable = RvaToOffset(pe, namesRva);
  for (uint32_t i = 0; i < nameCount; ++i) {
    uint32_t nameRva = 0;
    if (!Read(image, nameTable + i * 4u, nameRva)) break;
    names.insert(ReadString(image, RvaToOffset(pe, nameRva)));
  }
  return names;
}

// --- ELF ----------------------------------------------------------------------

std::set<std::string> ElfExports(const std::vector<unsigned char>& image) {
  std::set<std::string> names;
  uint64_t sectionTable = 0;
  uint16_t sectionSize = 0, sectionCount = 0;
  Read(image, 0x28, sectionTable);
  Read(image, 0x3A, sectionSize);
  Read(image, 0x3C, sectionCount);
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t header = sectionTable + static_cast<size_t>(i) * sectionSize;
    uint32_t type = 0, link = 0;
    uint64_t offset = 0, size = 0, entrySize = 0;
    Read(image, header + 4, type);
    if (type != 11) continue;  // SHT_DYNSYM
    Read(image, header + 24, offset);
    Read(image, header + 32, size);
    Read(image, header + 40, link);
    Read(image, header + 56, entrySize);
    uint64_t stringsOffset = 0;
    Read(image, sectionTable + static_cast<size_t>(link) * sectionSize + 24, stringsOffset);
    for (uint64_t entry = offset; entrySize != 0 && entry + entrySize <= offset + size;
         entry += entrySize) {
      uint32_t name = 0;
      unsigned char info = 0;
      uint16_t sectionIndex = 0;
      Read(image, entry, name);
      Read(image, entry + 4, info);
      Read(image, entry + 6, sectionIndex);
      const unsigned binding = info >> 4;
      if (sectionIndex != 0 && (binding == 1 || binding == 2) && name != 0) {
        names.insert(ReadString(image, stringsOffset + name));
      }
    }
  }
  return names;
}

}  // namespace

std::string ProgramDirectory() {
#if defined(_WIN32)
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory(path, length);
  return directory.substr(0, directory.find_last_of("\\/") + 1);
#else
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string directory(path, length > 0 ? static_cast<size_t>(length) : 0);
  return directory.substr(0, directory.rfind('/') + 1);
#endif
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

std::set<std::string> ExportedNames(const std::vector<unsigned char>& image) {
  PeImage pe;
  if (ParsePe(image, pe)) return PeExports(image, pe);
  if (image.size() > 4 && image[0] == 0x7F && image[1] == 'E' && image[2] == 'L' &&
      image[3] == 'F') {
    return ElfExports(image);
  }
  return {};
}

std::map<std::string, std::set<std::string>> ImportedNames(
    const std::vector<unsigned char>& image) {
  std::map<std::string, std::set<std::string>> imports;
  PeImage pe;
  if (!ParsePe(image, pe) || pe.importRva == 0) return imports;
  for (size_t descriptor = RvaToOffset(pe, pe.importRva);; descriptor += 20) {
    uint32_t lookupRva = 0, nameRva = 0, addressRva = 0;
    if (!Read(image, descriptor, lookupRva) || !Read(image, descriptor + 12, nameRva) ||
        !Read(image, descriptor + 16, addressRva) || nameRva == 0) {
      break;
    }
    auto& names = imports[Upper(ReadString(image, RvaToOffset(pe, nameRva)))];
    const size_t thunks = RvaToOffset(pe, lookupRva != 0 ? lookupRva : addressRva);
    for (size_t thunk = thunks;; thunk += 8) {
      uint64_t entry = 0;
      if (!Read(image, thunk, entry) || entry == 0) break;
      if ((entry >> 63) != 0) {
        std::string ordinal = "#";
        ordinal += std::to_string(entry & 0xFFFF);
        names.insert(ordinal);
      } else {
        names.insert(ReadString(image, RvaToOffset(pe, static_cast<uint32_t>(entry)) + 2));
      }
    }
  }
  return imports;
}

}  // namespace testing_support
