#include "platform/posix/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace morvane {

PosixFile::~PosixFile() {
  Close();
}

size_t PosixFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
  if (fd_ < 0 || offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return 0;
  size_t done = 0;
  while (done < count) {
    const ssize_t got = pread(fd_, static_cast<char*>(buffer) + done, count - done,
                              static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

bool PosixFile::WriteAt(uint64_t offset, const void* buffer, size_t count) {
  if (fd_ < 0 || offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return false;
  size_t done = 0;
  while (done < count) {
    const ssize_t put = pwrite(fd_, static_cast<const char*>(buffer) + done, count - done,
                               static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

std::optional<uint64_t> PosixFile::Size() {
  struct stat info;
  if (fd_ < 0 || fstat(fd_, &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

bool PosixFile::Resize(uint64_t length) {
  if (fd_ < 0 || length > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return false;
  return ftruncate(fd_, static_cast<off_t>(length)) == 0;
}

bool PosixFile::Close() {
  if (fd_ < 0) return true;
  const int fd = fd_;
  fd_ = -1;
  return close(fd) == 0;
}

int OpenRegularFile(const std::string& posixPath, int flags) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it does nothing for a regular file.
  const int fd = open(posixPath.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace morvane
