// Small helpers for the engine tests that look at real files.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace morvane::testing {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The permission bits, which carry the read-only attribute on POSIX.
inline unsigned PermissionBits(const std::filesystem::path& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return ~0u;
  return info.st_mode & 07777;
}

}  // namespace morvane::testing
