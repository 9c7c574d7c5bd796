// Real files with a drive C: that is a temporary folder: "C:\a\b.exe" is <root>/a/b.exe. The
// Windows folders are C:\WINDOWS and C:\WINDOWS\system32, and C: is the one fixed drive.
#pragma once

#include "platform/posix/posix_file_system.h"

namespace morvane::testing {

class DriveCFileSystem : public FileSystem {
 public:
  explicit DriveCFileSystem(std::string root) : root_(std::move(root)) {}

  std::unique_ptr<DirSearch> FindFirst(const std::string& pattern, DirEntry& first) override;
  bool Exists(const std::string& path) override;
  std::optional<DirectoryId> FolderId(const std::string& path) override;
  uint32_t GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
  bool Delete(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool CreateDirectory(const std::string& path) override;
  bool MoveFileEx(const std::string& from, const std::string& to, uint32_t flags) override;
  int GetDriveType(const std::string& root) override;
  std::string SystemDirectory() override { return "C:\\WINDOWS\\system32"; }
  std::string WindowsDirectory() override { return "C:\\WINDOWS"; }

  // The real path of a C: path; any other path is refused (an empty result never exists).
  std::string Real(const std::string& path) const;

 private:
  std::string root_;
  PosixFileSystem files_;
};

}  // namespace morvane::testing
