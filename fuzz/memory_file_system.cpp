#include "fuzz/memory_file_system.h"

#include <cstring>

namespace morvane::fuzzing {

namespace {

class MemoryFile : public File {
 public:
  explicit MemoryFile(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (closed_ || offset >= bytes_.size()) return 0;
    const size_t got = std::min<uint64_t>(count, bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, got);
    return got;
  }
  bool WriteAt(uint64_t, const void*, size_t) override { return false; }
  std::optional<uint64_t> Size() override {
    if (closed_) return std::nullopt;
    return bytes_.size();
  }
  bool Resize(uint64_t) override { return false; }
  bool Close() override {
    closed_ = true;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  bool closed_ = false;
};

}  // namespace

uint32_t MemoryFileSystem::GetAttributes(const std::string& path) {
  return path == path_ ? kAttrNormal : kInvalidAttributes;
}

std::unique_ptr<File> MemoryFileSystem::Open(const std::string& path, OpenMode) {
  if (path != path_) return nullptr;
  return std::make_unique<MemoryFile>(bytes_);
}

}  // namespace morvane::fuzzing
