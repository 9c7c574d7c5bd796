// Design: one call costs one open, at most four header reads (the 64-byte DOS header, the
// 248-byte NT headers, the section table and the 4096 entry-point bytes) and two four-byte reads
// per record tried. The DOS header is tested before the size is taken or the 64 KiB work buffer
// is allocated, so the many files that are not programs cost a single read. Every position is
// computed in 64 bits and tested against the file size before it is read; a record whose bytes
// lie outside the file, outside the entry-point window or at a negative position simply does not
// match, which keeps hostile headers harmless. Files the records cannot be compared against
// (fewer than two sections, a section table larger than the work buffer) count as clean. A path
// longer than the MAX_PATH buffers is refused before anything is touched, since a cut path would
// name some other file. In Clean mode the attributes are cleared for the update open and put
// back on every path that leaves the file in place untouched.
#include "engine/virus_rules.h"

#include <cstring>
#include <memory>

#include "engine/cleaning_actions.h"
#include "engine/pe_image.h"
#include "engine/ransom_note.h"
#include "engine/registry_repair.h"
#include "platform/platform.h"

namespace morvane {

namespace {

bool EntryBytesMatch(std::span<const uint8_t> entry, int32_t offset, const uint8_t* expected) {
  return offset >= 0 && Fits(static_cast<uint64_t>(offset), kSignatureBytes, entry.size()) &&
         std::memcmp(entry.data() + offset, expected, kSignatureBytes) == 0;
}

bool FileBytesMatch(File& file, uint64_t fileSize, uint32_t rawData, int32_t offset,
                    const uint8_t* expected) {
  const int64_t position = static_cast<int64_t>(rawData) + offset;
  if (position < 0 || !Fits(static_cast<uint64_t>(position), kSignatureBytes, fileSize)) {
    return false;
  }
  uint8_t actual[kSignatureBytes];
  return file.ReadAt(static_cast<uint64_t>(position), actual, kSignatureBytes) == kSignatureBytes &&
         std::memcmp(actual, expected, kSignatureBytes) == 0;
}

bool RecordMatches(const VirusSignature& record, const PeImage& image, File& file,
                   uint64_t fileSize) {
  const std::span<const uint8_t> table = image.SectionTable();
  return EntryBytesMatch(image.EntryBytes(), record.epOffset, record.epBytes) &&
         FileBytesMatch(file, fileSize, SectionAt(table, 0).pointerToRawData, record.section1Offset,
                        record.section1Bytes) &&
         FileBytesMatch(file, fileSize, SectionAt(table, 1).pointerToRawData, record.section2Offset,
                        record.section2Bytes);
}

void PublishName(const VirusSignature& record) {
  char name[kSignatureNameSize + 1] = {};
  std::memcpy(name, record.name, kSignatureNameSize);
  SetLastVirusName(name);
}

// Clears the attributes for an update open and gives them back unless Keep() was called.
class AttributeGuard {
 public:
  AttributeGuard(const std::string& path, bool active) : path_(path) {
    if (!active) return;
    saved_ = Files().GetAttributes(path);
    Files().SetAttributes(path, kAttrNormal);
  }
  ~AttributeGuard() {
    if (saved_ != kInvalidAttributes) Files().SetAttributes(path_, saved_);
  }
  AttributeGuard(const AttributeGuard&) = delete;
  AttributeGuard& operator=(const AttributeGuard&) = delete;
  // A cleaned file keeps the normal attributes it was opened with.
  void Keep() { saved_ = kInvalidAttributes; }

 private:
  const std::string& path_;
  uint32_t saved_ = kInvalidAttributes;
};

int CompareRecords(const std::string& path, int mode, const SignatureTable& table,
                   const CleaningSteps& cleaning, File& file, AttributeGuard& attributes) {
  uint8_t dos[kDosHeaderSize];
  if (!ReadDosHeader(file, dos)) return 0;
  const std::optional<uint64_t> size = file.Size();
  if (!size) return 0;
  // Uninitialised on purpose: every byte compared has been read into it first.
  const std::unique_ptr<uint8_t[]> work(new uint8_t[kWorkBufferSize]);
  PeImage image;
  if (!image.Load(file, *size, dos, work.get())) return 0;
  for (const VirusSignature& record : table) {
    if (!IsUsed(record)) break;
    if (!RecordMatches(record, image, file, *size)) continue;
    PublishName(record);
    if (mode != Clean) return 1;
    cleaning.repairRegistry(path);
    if (cleaning.cleanFile(file, path, *size, work.get()) == 1) {
      attributes.Keep();
      return 1;
    }
  }
  return 0;
}

}  // namespace

const CleaningSteps& CleaningSteps::Real() {
  static const CleaningSteps steps{RepairInfectionRegistry, CleanInfectedFile};
  return steps;
}

int ApplyVirusRules(const std::string& path, int mode, const SignatureTable& table,
                    const CleaningSteps& cleaning) {
  // A longer path would be cut to fit the buffers and name some other file.
  if (path.size() > kMaxEnginePath) return -1;
  if (IsRansomNotePicture(path)) {
    Files().Delete(path);
    return 0;
  }
  if (ScanRunState.StopRequested()) return 0;
  const bool update = mode != Detect;
  AttributeGuard attributes(path, update);
  const std::unique_ptr<File> file =
      Files().Open(path, update ? OpenMode::ReadWrite : OpenMode::Read);
  if (!file) return -1;
  return CompareRecords(path, mode, table, cleaning, *file, attributes);
}

}  // namespace morvane
