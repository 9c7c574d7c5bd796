#include "engine/pe_image.h"

namespace morvane {

namespace {

constexpr size_t kLfanewOffset = 0x3C;
constexpr size_t kSectionCountOffset = 4 + 2;      // in the file header, after "PE\0\0"
constexpr size_t kEntryPointOffset = 4 + 20 + 16;  // AddressOfEntryPoint in the optional header
constexpr uint32_t kMinSections = 2;  // the records compare bytes in the first two sections

// Where each part lives in the work buffer (the DOS header stays with the caller).
constexpr size_t kNtAt = 0;
constexpr size_t kEntryAt = kNtAt + kNtHeadersSize;
constexpr size_t kSectionsAt = kEntryAt + kEntryBytesSize;
static_assert(kSectionsAt + kMaxSections * kSectionHeaderSize <= kWorkBufferSize);

bool HasDosMagic(const uint8_t* dos) {
  return (dos[0] == 'M' && dos[1] == 'Z') || (dos[0] == 'Z' && dos[1] == 'M');
}

bool HasPeSignature(const uint8_t* nt) {
  return nt[0] == 'P' && nt[1] == 'E' && nt[2] == 0 && nt[3] == 0;
}

// All `count` bytes at `offset`, or false; a short read near the end does not count.
bool ReadExactly(File& file, uint64_t fileSize, uint64_t offset, uint8_t* out, size_t count) {
  return Fits(offset, count, fileSize) && file.ReadAt(offset, out, count) == count;
}

}  // namespace

SectionHeader SectionAt(std::span<const uint8_t> table, size_t index) {
  const uint8_t* p = table.data() + index * kSectionHeaderSize;
  return SectionHeader{ReadLe32(p + 8), ReadLe32(p + 12), ReadLe32(p + 16), ReadLe32(p + 20)};
}

int64_t RvaToFileOffset(uint32_t rva, std::span<const uint8_t> sectionTable) {
  int64_t position = 0;
  const size_t count = sectionTable.size() / kSectionHeaderSize;
  for (size_t i = 0; i < count; ++i) {
    const SectionHeader section = SectionAt(sectionTable, i);
    position = static_cast<int64_t>(rva) - section.virtualAddress + section.pointerToRawData;
    const uint64_t extent = section.virtualSize != 0 ? section.virtualSize : section.sizeOfRawData;
    // 64-bit end: VirtualAddress + size may pass 2^32.
    if (rva >= section.virtualAddress &&
        static_cast<uint64_t>(rva) < static_cast<uint64_t>(section.virtualAddress) + extent) {
      return position;
    }
  }
  return position;
}

bool ReadDosHeader(File& file, uint8_t (&dos)[kDosHeaderSize]) {
  return file.ReadAt(0, dos, kDosHeaderSize) == kDosHeaderSize && HasDosMagic(dos);
}

void PeImage::LoadEntryBytes(File& file, uint64_t fileSize, const uint8_t* nt, uint8_t* out) {
  const int64_t position = RvaToFileOffset(ReadLe32(nt + kEntryPointOffset), sections_);
  size_t got = 0;
  if (position >= 0 && static_cast<uint64_t>(position) < fileSize) {
    got = file.ReadAt(static_cast<uint64_t>(position), out, kEntryBytesSize);
  }
  entry_ = std::span<const uint8_t>(out, got);
}

bool PeImage::Load(File& file, uint64_t fileSize, const uint8_t (&dos)[kDosHeaderSize],
                   uint8_t* work) {
  sections_ = {};
  entry_ = {};
  // Unsigned: an e_lfanew that is negative as int32 lies past the end of any file.
  const uint64_t ntOffset = ReadLe32(dos + kLfanewOffset);
  uint8_t* nt = work + kNtAt;
  if (!ReadExactly(file, fileSize, ntOffset, nt, kNtHeadersSize) || !HasPeSignature(nt)) {
    return false;
  }
  // Fewer than two sections leave no second raw-data position to compare: no record matches.
  const uint32_t count = ReadLe16(nt + kSectionCountOffset);
  if (count < kMinSections || count > kMaxSections) return false;
  const size_t tableSize = count * kSectionHeaderSize;
  uint8_t* table = work + kSectionsAt;
  if (!ReadExactly(file, fileSize, ntOffset + kNtHeadersSize, table, tableSize)) return false;
  sections_ = std::span<const uint8_t>(table, tableSize);
  LoadEntryBytes(file, fileSize, nt, work + kEntryAt);
  return true;
}

}  // namespace morvane
