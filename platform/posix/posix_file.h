// An open POSIX file descriptor as a File.
#pragma once

#include "platform/file_system.h"

namespace morvane {

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override;
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;
  bool WriteAt(uint64_t offset, const void* buffer, size_t count) override;
  std::optional<uint64_t> Size() override;
  bool Resize(uint64_t length) override;
  bool Close() override;

 private:
  int fd_;
};

// Opens a regular file only; -1 for anything else or on failure.
int OpenRegularFile(const std::string& posixPath, int flags);

}  // namespace morvane
