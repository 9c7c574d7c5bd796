#include "tests/engine/counting_file_system.h"

namespace morvane::testing {

namespace {

class CountingFile : public File {
 public:
  CountingFile(std::unique_ptr<File> inner, FileSystemCounts& counts)
      : inner_(std::move(inner)), counts_(counts) {}

  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    ++counts_.reads;
    return inner_->ReadAt(offset, buffer, count);
  }
  bool WriteAt(uint64_t offset, const void* buffer, size_t count) override {
    ++counts_.writes;
    return inner_->WriteAt(offset, buffer, count);
  }
  std::optional<uint64_t> Size() override { return inner_->Size(); }
  bool Resize(uint64_t length) override {
    ++counts_.writes;
    return inner_->Resize(length);
  }
  bool Close() override { return inner_->Close(); }

 private:
  std::unique_ptr<File> inner_;
  FileSystemCounts& counts_;
};

}  // namespace

bool CountingFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  ++counts_.attributeSets;
  return inner_.SetAttributes(path, attributes);
}

std::unique_ptr<File> CountingFileSystem::Open(const std::string& path, OpenMode mode) {
  ++counts_.opens;
  if (mode == OpenMode::ReadWrite && !inUse_.empty() && path == inUse_) return nullptr;
  std::unique_ptr<File> file = inner_.Open(path, mode);
  if (!file) return nullptr;
  return std::make_unique<CountingFile>(std::move(file), counts_);
}

bool CountingFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  ++counts_.copies;
  return inner_.Copy(from, to, failIfExists);
}

bool CountingFileSystem::Delete(const std::string& path) {
  ++counts_.deletes;
  return inner_.Delete(path);
}

bool CountingFileSystem::Remove(const std::string& path) {
  ++counts_.deletes;
  return inner_.Remove(path);
}

}  // namespace morvane::testing
