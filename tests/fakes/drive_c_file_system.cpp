#include "fakes/drive_c_file_system.h"

namespace morvane::testing {

std::string DriveCFileSystem::Real(const std::string& path) const {
  if (path.size() < 2 || (path[0] != 'C' && path[0] != 'c') || path[1] != ':') {
    return "/nonexistent/outside-drive-c";
  }
  return root_ + ToPosixPath(path.substr(2));
}

std::unique_ptr<DirSearch> DriveCFileSystem::FindFirst(const std::string& pattern,
                                                       DirEntry& first) {
  return files_.FindFirst(Real(pattern), first);
}
bool DriveCFileSystem::Exists(const std::string& path) {
  return files_.Exists(Real(path));
}
std::optional<DirectoryId> DriveCFileSystem::FolderId(const std::string& path) {
  return files_.FolderId(Real(path));
}
uint32_t DriveCFileSystem::GetAttributes(const std::string& path) {
  return files_.GetAttributes(Real(path));
}
bool DriveCFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  return files_.SetAttributes(Real(path), attributes);
}
std::unique_ptr<File> DriveCFileSystem::Open(const std::string& path, OpenMode mode) {
  return files_.Open(Real(path), mode);
}
bool DriveCFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  return files_.Copy(Real(from), Real(to), failIfExists);
}
bool DriveCFileSystem::Delete(const std::string& path) {
  return files_.Delete(Real(path));
}
bool DriveCFileSystem::Remove(const std::string& path) {
  return files_.Remove(Real(path));
}
bool DriveCFileSystem::Rename(const std::string& from, const std::string& to) {
  return files_.Rename(Real(from), Real(to));
}
bool DriveCFileSystem::CreateDirectory(const std::string& path) {
  return files_.CreateDirectory(Real(path));
}
bool DriveCFileSystem::MoveFileEx(const std::string&, const std::string&, uint32_t) {
  return false;
}
int DriveCFileSystem::GetDriveType(const std::string& root) {
  return root == "C:\\" ? kDriveFixed : kDriveNoRootDir;
}

}  // namespace morvane::testing
