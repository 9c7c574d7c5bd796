#include "fakes/temp_dir.h"

#include <fstream>
#include <random>
#include <system_error>

namespace morvane::testing {

TempDir::TempDir() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("morvane-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::Write(const std::string& relative, const std::string& bytes) const {
  const std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

std::filesystem::path TempDir::MakeDir(const std::string& relative) const {
  const std::filesystem::path dir = path_ / relative;
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace morvane::testing
