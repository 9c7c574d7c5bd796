// Files, folders and drives as the scanner and the engine use them. Paths are narrow byte strings
// in the system's code page with "\" as separator; each backend maps them to its own form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace morvane {

// File attribute bits, with the values Windows gives them.
constexpr uint32_t kAttrReadOnly = 0x1;
constexpr uint32_t kAttrHidden = 0x2;
constexpr uint32_t kAttrSystem = 0x4;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;
constexpr uint32_t kAttrReparsePoint = 0x400;
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Drive types of GetDriveTypeA.
constexpr int kDriveUnknown = 0;
constexpr int kDriveNoRootDir = 1;
constexpr int kDriveRemovable = 2;
constexpr int kDriveFixed = 3;
constexpr int kDriveRemote = 4;
constexpr int kDriveCdrom = 5;
constexpr int kDriveRamdisk = 6;

// MoveFileExA flags.
constexpr uint32_t kMoveReplaceExisting = 0x1;
constexpr uint32_t kMoveDelayUntilReboot = 0x4;

struct DirEntry {
  std::string name;
  uint32_t attributes = 0;
};

// An open directory search; closed when destroyed.
class DirSearch {
 public:
  virtual ~DirSearch() = default;
  // Fills the next entry; false when no entry is left.
  virtual bool Next(DirEntry& entry) = 0;
};

// Identity of a folder, the same for every path (link, junction) that leads to it.
struct DirectoryId {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const DirectoryId&) const = default;
};

enum class OpenMode {
  Read,           // "rb"
  ReadWrite,      // "rb+": update in place, fails where the file is in use
  ReadText,       // "r": only to learn whether the file can be opened
  WriteExisting,  // write access, share with all, fail if missing
  CreateWrite,    // write access, share with all, create or truncate
};

// An open file; closed when destroyed. Positions are absolute, so callers keep no seek state.
class File {
 public:
  virtual ~File() = default;
  // Bytes read at `offset` into `buffer`; fewer than `count` at the end of the file, 0 on error.
  virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) = 0;
  // True when all `count` bytes were written at `offset`.
  virtual bool WriteAt(uint64_t offset, const void* buffer, size_t count) = 0;
  virtual std::optional<uint64_t> Size() = 0;
  // Cuts or extends (with zeros) the file to `length` bytes.
  virtual bool Resize(uint64_t length) = 0;
  // Closes now and reports whether buffered data reached the file.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // FindFirstFileA: a pattern ending in "\*.*" lists a folder (including "." and ".." where the
  // file system has them); any other pattern finds the one entry of that exact path. Null when
  // the search cannot be opened.
  virtual std::unique_ptr<DirSearch> FindFirst(const std::string& pattern, DirEntry& first) = 0;
  // FindFirstFileA on the path itself, closed again at once: a file or folder stands there.
  virtual bool Exists(const std::string& path) = 0;
  // The folder's identity, or nothing when it cannot be had.
  virtual std::optional<DirectoryId> FolderId(const std::string& path) = 0;

  virtual uint32_t GetAttributes(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;

  virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode) = 0;
  virtual bool Copy(const std::string& from, const std::string& to, bool failIfExists) = 0;
  virtual bool Delete(const std::string& path) = 0;  // DeleteFileA
  virtual bool Remove(const std::string& path) = 0;  // the C library's remove
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual bool CreateDirectory(const std::string& path) = 0;
  // MoveFileExA; an empty `to` stands for the null destination (delete).
  virtual bool MoveFileEx(const std::string& from, const std::string& to, uint32_t flags) = 0;

  virtual int GetDriveType(const std::string& root) = 0;
  // GetSystemDirectoryA / GetWindowsDirectoryA; empty when unknown.
  virtual std::string SystemDirectory() = 0;
  virtual std::string WindowsDirectory() = 0;
};

}  // namespace morvane
