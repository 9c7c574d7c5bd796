// A FileSystem that serves one read-only file from memory, so a fuzz input reaches the rule
// engine without touching the disk. Every other path is missing and nothing can be changed.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/file_system.h"

namespace morvane::fuzzing {

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem(std::string path, std::span<const uint8_t> bytes)
      : path_(std::move(path)), bytes_(bytes) {}

  std::unique_ptr<DirSearch> FindFirst(const std::string&, DirEntry&) override { return nullptr; }
  bool Exists(const std::string& path) override { return path == path_; }
  std::optional<DirectoryId> FolderId(const std::string&) override { return std::nullopt; }
  uint32_t GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t) override { return path == path_; }
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool Copy(const std::string&, const std::string&, bool) override { return false; }
  bool Delete(const std::string&) override { return false; }
  bool Remove(const std::string&) override { return false; }
  bool Rename(const std::string&, const std::string&) override { return false; }
  bool CreateDirectory(const std::string&) override { return false; }
  bool MoveFileEx(const std::string&, const std::string&, uint32_t) override { return false; }
  int GetDriveType(const std::string&) override { return kDriveNoRootDir; }
  std::string SystemDirectory() override { return {}; }
  std::string WindowsDirectory() override { return {}; }

 private:
  std::string path_;
  std::span<const uint8_t> bytes_;
};

}  // namespace morvane::fuzzing
