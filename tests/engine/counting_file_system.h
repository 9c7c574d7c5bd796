// A FileSystem that passes every call to another one and counts what the engine asked of it,
// so tests can show that a call read nothing, wrote nothing, or kept to its read budget.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/platform.h"

namespace morvane::testing {

struct FileSystemCounts {
  int opens = 0;
  int reads = 0;
  int writes = 0;
  int attributeSets = 0;
  int deletes = 0;
  int copies = 0;
};

class CountingFileSystem : public FileSystem {
 public:
  explicit CountingFileSystem(FileSystem& inner) : inner_(inner) {}

  const FileSystemCounts& counts() const { return counts_; }
  // Opens of this path for update fail, as for a program that is running.
  void RefuseUpdateOpens(const std::string& path) { inUse_ = path; }
  // A platform whose files are this object (other services stay as in `base`).
  Platform With(Platform base) {
    base.files = this;
    return base;
  }

  std::unique_ptr<DirSearch> FindFirst(const std::string& pattern, DirEntry& first) override {
    return inner_.FindFirst(pattern, first);
  }
  bool Exists(const std::string& path) override { return inner_.Exists(path); }
  std::optional<DirectoryId> FolderId(const std::string& path) override {
    return inner_.FolderId(path);
  }
  uint32_t GetAttributes(const std::string& path) override { return inner_.GetAttributes(path); }
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
  bool Delete(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override {
    return inner_.Rename(from, to);
  }
  bool CreateDirectory(const std::string& path) override { return inner_.CreateDirectory(path); }
  bool MoveFileEx(const std::string& from, const std::string& to, uint32_t flags) override {
    return inner_.MoveFileEx(from, to, flags);
  }
  int GetDriveType(const std::string& root) override { return inner_.GetDriveType(root); }
  std::string SystemDirectory() override { return inner_.SystemDirectory(); }
  std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }

 private:
  FileSystem& inner_;
  FileSystemCounts counts_;
  std::string inUse_;
};

}  // namespace morvane::testing
