// Real files on a POSIX system. Paths take "\" or "/" as separator; names that hold a "\" cannot
// stand in such a path and are left out of directory searches, so the walk never confuses them
// with a deeper path. Only regular files and folders are listed or opened: a FIFO or a device
// would block or never end.
#pragma once

#include "platform/file_system.h"

namespace morvane {

class PosixFileSystem : public FileSystem {
 public:
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
  std::string SystemDirectory() override;
  std::string WindowsDirectory() override;
};

// The path with every "\" turned into "/".
std::string ToPosixPath(const std::string& path);

}  // namespace morvane
