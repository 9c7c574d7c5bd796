// Real files, folders and drives through the ANSI Win32 calls, so paths keep the system's code
// page exactly as the rest of the program holds them.
#pragma once

#include "platform/file_system.h"

namespace morvane {

class Win32FileSystem : public FileSystem {
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

}  // namespace morvane
