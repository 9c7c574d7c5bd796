// Bounded reading of the parts of a PE file the rule engine compares: the DOS header, the
// 248-byte NT header block, the section table and the bytes at the entry point. Every field is
// assembled from little-endian bytes at explicit offsets; nothing is cast to a Windows struct.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/file_system.h"

namespace morvane {

// The engine's one work buffer, allocated once per call.
constexpr size_t kWorkBufferSize = 64 * 1024;

constexpr size_t kDosHeaderSize = 64;
// "PE\0\0", the 20-byte file header and the 224-byte optional header of a 32-bit image; the
// section table is taken to follow it whatever SizeOfOptionalHeader says.
constexpr size_t kNtHeadersSize = 248;
constexpr size_t kSectionHeaderSize = 40;
// The entry-point window the records' epOffset indexes into.
constexpr size_t kEntryBytesSize = 4096;
// The section table shares the work buffer with the NT headers and the entry bytes, so a count
// whose table would not fit there cannot be compared and does not match.
constexpr uint32_t kMaxSections =
    (kWorkBufferSize - kNtHeadersSize - kEntryBytesSize) / kSectionHeaderSize;

// True when `count` bytes starting at `offset` lie inside `size` bytes; never overflows.
constexpr bool Fits(uint64_t offset, uint64_t count, uint64_t size) {
  return offset <= size && count <= size - offset;
}

inline uint16_t ReadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct SectionHeader {
  uint32_t virtualSize;
  uint32_t virtualAddress;
  uint32_t sizeOfRawData;
  uint32_t pointerToRawData;
};

// The header at `index` of a raw section table (40 bytes per header); `index` must lie below the
// table's count.
SectionHeader SectionAt(std::span<const uint8_t> table, size_t index);

// The file position of `rva`: the first section whose range holds it decides; when none does,
// the value computed for the last section is used, and 0 with no sections. The result may be
// negative or beyond the file; the caller's bounded reads then find nothing there.
int64_t RvaToFileOffset(uint32_t rva, std::span<const uint8_t> sectionTable);

// The first test of every file, made before any buffer is allocated or the size is taken, so
// the many files that are not programs cost one read: all 64 header bytes read into `dos`, and
// "MZ" or "ZM" at their start.
bool ReadDosHeader(File& file, uint8_t (&dos)[kDosHeaderSize]);

// The headers, section table and entry bytes of one file, read into the caller's work buffer.
class PeImage {
 public:
  // False when the file is not a PE image the rules can compare: no "PE\0\0" inside the file,
  // fewer than two sections, or a section table that does not fit the work buffer or the file.
  // `dos` is the header ReadDosHeader accepted; `work` must hold kWorkBufferSize bytes.
  bool Load(File& file, uint64_t fileSize, const uint8_t (&dos)[kDosHeaderSize], uint8_t* work);

  std::span<const uint8_t> SectionTable() const { return sections_; }
  // The bytes read at the entry point; shorter than kEntryBytesSize near the end of the file.
  std::span<const uint8_t> EntryBytes() const { return entry_; }

 private:
  void LoadEntryBytes(File& file, uint64_t fileSize, const uint8_t* nt, uint8_t* out);

  std::span<const uint8_t> sections_;
  std::span<const uint8_t> entry_;
};

}  // namespace morvane
