#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/posix/posix_file.h"

namespace morvane {

namespace {

constexpr char kAllEntries[] = "*.*";

uint32_t AttributesOf(const struct stat& info) {
  uint32_t attributes = 0;
  if (S_ISDIR(info.st_mode)) attributes |= kAttrDirectory;
  if ((info.st_mode & S_IWUSR) == 0) attributes |= kAttrReadOnly;
  return attributes == 0 ? kAttrNormal : attributes;
}

bool IsListable(const struct stat& info) {
  return S_ISDIR(info.st_mode) || S_ISREG(info.st_mode);
}

// Directory and reparse-point bits of one entry; false for entries that are left out.
bool EntryAttributes(int dirFd, const dirent& entry, uint32_t& attributes) {
  switch (entry.d_type) {
    case DT_DIR:
      attributes = kAttrDirectory;
      return true;
    case DT_REG:
      attributes = kAttrNormal;
      return true;
    case DT_LNK:
    case DT_UNKNOWN: {
      struct stat info;
      if (fstatat(dirFd, entry.d_name, &info, 0) != 0 || !IsListable(info)) return false;
      attributes = S_ISDIR(info.st_mode) ? kAttrDirectory : kAttrNormal;
      if (entry.d_type == DT_LNK) {
        attributes |= kAttrReparsePoint;
      } else {
        struct stat own;
        if (fstatat(dirFd, entry.d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode)) {
          attributes |= kAttrReparsePoint;
        }
      }
      return true;
    }
    default:
      return false;  // FIFOs, sockets and devices
  }
}

class PosixDirSearch : public DirSearch {
 public:
  explicit PosixDirSearch(DIR* dir) : dir_(dir) {}
  ~PosixDirSearch() override { closedir(dir_); }
  PosixDirSearch(const PosixDirSearch&) = delete;
  PosixDirSearch& operator=(const PosixDirSearch&) = delete;

  bool Next(DirEntry& entry) override {
    while (const dirent* raw = readdir(dir_)) {
      if (std::strchr(raw->d_name, '\\') != nullptr) continue;
      uint32_t attributes = 0;
      if (!EntryAttributes(dirfd(dir_), *raw, attributes)) continue;
      entry.name.assign(raw->d_name);
      entry.attributes = attributes;
      return true;
    }
    return false;
  }

 private:
  DIR* dir_;
};

// The one entry of an exact path, as FindFirstFileA gives it for a pattern without wildcards.
class SingleEntrySearch : public DirSearch {
 public:
  bool Next(DirEntry&) override { return false; }
};

std::string LastComponent(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const char* tail) {
  const size_t length = std::strlen(tail);
  return text.size() >= length && text.compare(text.size() - length, length, tail) == 0;
}

}  // namespace

std::string ToPosixPath(const std::string& path) {
  std::string result = path;
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  return result;
}

std::unique_ptr<DirSearch> PosixFileSystem::FindFirst(const std::string& pattern, DirEntry& first) {
  const std::string posix = ToPosixPath(pattern);
  if (EndsWith(posix, kAllEntries)) {
    const size_t cut = posix.size() - std::strlen(kAllEntries);
    const std::string folder = cut == 0 ? std::string(".") : posix.substr(0, cut);
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return nullptr;
    auto search = std::make_unique<PosixDirSearch>(dir);
    if (!search->Next(first)) return nullptr;
    return search;
  }
  struct stat info;
  if (posix.empty() || stat(posix.c_str(), &info) != 0 || !IsListable(info)) return nullptr;
  first.name = LastComponent(posix);
  first.attributes = AttributesOf(info);
  return std::make_unique<SingleEntrySearch>();
}

bool PosixFileSystem::Exists(const std::string& path) {
  DirEntry entry;
  return FindFirst(path, entry) != nullptr;
}

std::optional<DirectoryId> PosixFileSystem::FolderId(const std::string& path) {
  struct stat info;
  const std::string posix = ToPosixPath(path);
  if (stat(posix.empty() ? "." : posix.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    return std::nullopt;
  }
  return DirectoryId{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

uint32_t PosixFileSystem::GetAttributes(const std::string& path) {
  struct stat info;
  if (stat(ToPosixPath(path).c_str(), &info) != 0) return kInvalidAttributes;
  return AttributesOf(info);
}

bool PosixFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  const std::string posix = ToPosixPath(path);
  struct stat info;
  if (stat(posix.c_str(), &info) != 0) return false;
  mode_t mode = info.st_mode & 07777;
  if (attributes & kAttrReadOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else {
    mode |= S_IWUSR;
  }
  return chmod(posix.c_str(), mode) == 0;
}

std::unique_ptr<File> PosixFileSystem::Open(const std::string& path, OpenMode mode) {
  int flags = O_RDONLY;
  switch (mode) {
    case OpenMode::Read:
    case OpenMode::ReadText:
      flags = O_RDONLY;
      break;
    case OpenMode::ReadWrite:
      flags = O_RDWR;
      break;
    case OpenMode::WriteExisting:
      flags = O_WRONLY;
      break;
    case OpenMode::CreateWrite:
      flags = O_WRONLY | O_CREAT | O_TRUNC;
      break;
  }
  const int fd = OpenRegularFile(ToPosixPath(path), flags);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixFile>(fd);
}

bool PosixFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  PosixFile source(OpenRegularFile(ToPosixPath(from), O_RDONLY));
  const std::optional<uint64_t> size = source.Size();
  if (!size) return false;
  const int flags = O_WRONLY | O_CREAT | O_TRUNC | (failIfExists ? O_EXCL : 0);
  PosixFile target(OpenRegularFile(ToPosixPath(to), flags));
  if (!target.Size()) return false;
  std::vector<char> block(1 << 16);
  for (uint64_t offset = 0; offset < *size;) {
    const size_t got = source.ReadAt(offset, block.data(), block.size());
    if (got == 0 || !target.WriteAt(offset, block.data(), got)) return false;
    offset += got;
  }
  return target.Close();
}

bool PosixFileSystem::Delete(const std::string& path) {
  return unlink(ToPosixPath(path).c_str()) == 0;
}

// The C library of Windows removes files only; keep folders out of it here too.
bool PosixFileSystem::Remove(const std::string& path) {
  return Delete(path);
}

bool PosixFileSystem::Rename(const std::string& from, const std::string& to) {
  // Like MoveFileA: an existing target makes the rename fail instead of being replaced.
  return renameat2(AT_FDCWD, ToPosixPath(from).c_str(), AT_FDCWD, ToPosixPath(to).c_str(),
                   RENAME_NOREPLACE) == 0;
}

bool PosixFileSystem::CreateDirectory(const std::string& path) {
  return mkdir(ToPosixPath(path).c_str(), 0777) == 0;
}

// There is no next Windows start to carry out a request.
bool PosixFileSystem::MoveFileEx(const std::string&, const std::string&, uint32_t) {
  return false;
}

// Drive letters mean nothing here, so the all-drives entry walks nothing.
int PosixFileSystem::GetDriveType(const std::string&) {
  return kDriveNoRootDir;
}

std::string PosixFileSystem::SystemDirectory() {
  return {};
}
std::string PosixFileSystem::WindowsDirectory() {
  return {};
}

}  // namespace morvane
