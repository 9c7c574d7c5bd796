#include "platform/win32/win32_file_system.h"

#include "platform/win32/handles.h"
#include "platform/win32/win32_file.h"
#include "platform/win32/windows_api.h"

namespace morvane {

namespace {

void Fill(const WIN32_FIND_DATAA& found, DirEntry& entry) {
  entry.name.assign(found.cFileName);
  entry.attributes = found.dwFileAttributes;
}

class Win32DirSearch : public DirSearch {
 public:
  explicit Win32DirSearch(win32::FindHandle handle) : handle_(std::move(handle)) {}

  bool Next(DirEntry& entry) override {
    WIN32_FIND_DATAA found;
    if (!FindNextFileA(handle_.Get(), &found)) return false;
    Fill(found, entry);
    return true;
  }

 private:
  win32::FindHandle handle_;
};

struct OpenFlags {
  DWORD access;
  DWORD share;
  DWORD disposition;
};

// The C library's fopen shares reading and writing with other openers; the two write modes
// share with everyone, deleting included.
constexpr DWORD kShareLikeFopen = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

OpenFlags FlagsFor(OpenMode mode) {
  switch (mode) {
    case OpenMode::ReadWrite:
      return {GENERIC_READ | GENERIC_WRITE, kShareLikeFopen, OPEN_EXISTING};
    case OpenMode::WriteExisting:
      return {GENERIC_WRITE, kShareAll, OPEN_EXISTING};
    case OpenMode::CreateWrite:
      return {GENERIC_WRITE, kShareAll, CREATE_ALWAYS};
    case OpenMode::Read:
    case OpenMode::ReadText:
      break;
  }
  return {GENERIC_READ, kShareLikeFopen, OPEN_EXISTING};
}

template <UINT (*Query)(LPSTR, UINT)>
std::string FolderFrom() {
  char buffer[MAX_PATH + 1];
  const UINT length = Query(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return {};
  return std::string(buffer, length);
}

UINT SystemFolder(LPSTR buffer, UINT size) {
  return GetSystemDirectoryA(buffer, size);
}
UINT WindowsFolder(LPSTR buffer, UINT size) {
  return GetWindowsDirectoryA(buffer, size);
}

}  // namespace

std::unique_ptr<DirSearch> Win32FileSystem::FindFirst(const std::string& pattern, DirEntry& first) {
  WIN32_FIND_DATAA found;
  win32::FindHandle handle(FindFirstFileA(pattern.c_str(), &found));
  if (!handle) return nullptr;
  Fill(found, first);
  return std::make_unique<Win32DirSearch>(std::move(handle));
}

bool Win32FileSystem::Exists(const std::string& path) {
  WIN32_FIND_DATAA found;
  return win32::FindHandle(FindFirstFileA(path.c_str(), &found)).Valid();
}

std::optional<DirectoryId> Win32FileSystem::FolderId(const std::string& path) {
  // Only backup semantics let CreateFileA open a folder.
  win32::FileHandle folder(CreateFileA(path.empty() ? "." : path.c_str(), 0, kShareAll, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder || !GetFileInformationByHandle(folder.Get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return std::nullopt;
  }
  return DirectoryId{info.dwVolumeSerialNumber,
                     (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

bool Win32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

std::unique_ptr<File> Win32FileSystem::Open(const std::string& path, OpenMode mode) {
  const OpenFlags flags = FlagsFor(mode);
  win32::FileHandle handle(CreateFileA(path.c_str(), flags.access, flags.share, nullptr,
                                       flags.disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return nullptr;
  return std::make_unique<Win32File>(std::move(handle));
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists) {
  return CopyFileA(from.c_str(), to.c_str(), failIfExists) != 0;
}

bool Win32FileSystem::Delete(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

// The Windows C library's remove is DeleteFileA: files only.
bool Win32FileSystem::Remove(const std::string& path) {
  return Delete(path);
}

// MoveFileA fails when the target exists.
bool Win32FileSystem::Rename(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32FileSystem::CreateDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32FileSystem::MoveFileEx(const std::string& from, const std::string& to, uint32_t flags) {
  return MoveFileExA(from.c_str(), to.empty() ? nullptr : to.c_str(), flags) != 0;
}

int Win32FileSystem::GetDriveType(const std::string& root) {
  return static_cast<int>(GetDriveTypeA(root.c_str()));
}

std::string Win32FileSystem::SystemDirectory() {
  return FolderFrom<SystemFolder>();
}
std::string Win32FileSystem::WindowsDirectory() {
  return FolderFrom<WindowsFolder>();
}

}  // namespace morvane
