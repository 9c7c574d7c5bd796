// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace morvane::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `bytes` to `relative` (creating folders on the way) and returns the full path.
  std::filesystem::path Write(const std::string& relative, const std::string& bytes = "x") const;
  std::filesystem::path MakeDir(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

}  // namespace morvane::testing
