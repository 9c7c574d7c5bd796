// No false positives on real Windows programs: the PE files that Debian's Wine and MinGW-w64
// packages install. Detect mode must report none and leave every byte and attribute alone; Clean
// mode on copies must change nothing either.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/check_file.h"
#include "engine/kox_path.h"
#include "engine/pe_image.h"
#include "engine/virus_rules.h"
#include "fakes/temp_dir.h"
#include "platform/platform.h"
#include "platform/posix/posix_platform.h"
#include "tests/engine/engine_test_files.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

// Folders listed directly, then folders walked with everything below them.
const char* const kFlatFolders[] = {
    "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows",
    "/usr/lib/x86_64-linux-gnu/wine/i386-windows",
    "/usr/lib/i386-linux-gnu/wine/i386-windows",
    "/usr/x86_64-w64-mingw32/lib",
    "/usr/i686-w64-mingw32/lib",
};
const char* const kDeepFolders[] = {"/usr/lib/gcc/x86_64-w64-mingw32",
                                    "/usr/lib/gcc/i686-w64-mingw32"};

bool StartsWithMz(const fs::path& path) {
  char head[2] = {};
  std::ifstream(path, std::ios::binary).read(head, 2);
  return head[0] == 'M' && head[1] == 'Z';
}

bool IsCandidate(const fs::directory_entry& entry) {
  if (!entry.is_regular_file()) return false;
  const std::string ext = entry.path().extension().string();
  return (ext == ".dll" || ext == ".exe" || ext == ".sys" || ext == ".drv") &&
         StartsWithMz(entry.path());
}

std::vector<fs::path> InstalledPeFiles() {
  std::vector<fs::path> found;
  std::error_code error;
  for (const char* folder : kFlatFolders) {
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (IsCandidate(entry)) found.push_back(entry.path());
    }
  }
  for (const char* folder : kDeepFolders) {
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
      if (IsCandidate(entry)) found.push_back(entry.path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

struct FileState {
  off_t size;
  mode_t mode;
  timespec modified;
  bool operator==(const FileState& other) const {
    return size == other.size && mode == other.mode && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
  }
};

FileState StateOf(const fs::path& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return FileState{info.st_size, info.st_mode, info.st_mtim};
}

class RealPeFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScanRunState.Reset();
    files_ = InstalledPeFiles();
    if (files_.empty()) GTEST_SKIP() << "no Wine or MinGW-w64 PE files installed";
  }

  ScopedPlatform platform_{PosixPlatform()};
  std::vector<fs::path> files_;
};

// Guards against a vacuous pass: the headers of nearly all of them must be read as PE images.
TEST_F(RealPeFilesTest, HeadersAreRead) {
  size_t loaded = 0;
  const std::unique_ptr<uint8_t[]> work(new uint8_t[kWorkBufferSize]);
  for (const fs::path& path : files_) {
    const std::unique_ptr<File> file = Files().Open(path.string(), OpenMode::Read);
    ASSERT_NE(file, nullptr) << path;
    uint8_t dos[kDosHeaderSize];
    PeImage image;
    if (ReadDosHeader(*file, dos) && image.Load(*file, *file->Size(), dos, work.get()) &&
        !image.EntryBytes().empty()) {
      ++loaded;
    }
  }
  EXPECT_GE(loaded * 10, files_.size() * 9) << loaded << " of " << files_.size();
}

TEST_F(RealPeFilesTest, DetectFindsNothingAndChangesNothing) {
  for (const fs::path& path : files_) {
    const FileState before = StateOf(path);
    EXPECT_EQ(ApplyVirusRules(path.string(), Detect), 0) << path << " as " << LastVirusName;
    EXPECT_TRUE(StateOf(path) == before) << path;
  }
}

TEST_F(RealPeFilesTest, CleanOnCopiesChangesNothing) {
  testing::TempDir dir;
  constexpr size_t kCopies = 12;
  const size_t step = std::max<size_t>(1, files_.size() / kCopies);
  for (size_t i = 0; i < files_.size(); i += step) {
    const fs::path copy = dir.path() / files_[i].filename();
    fs::copy_file(files_[i], copy, fs::copy_options::overwrite_existing);
    if (i % 2 == 0) chmod(copy.c_str(), 0444);
    const std::string bytes = testing::ReadBytes(copy);
    const unsigned mode = testing::PermissionBits(copy);
    EXPECT_EQ(CheckFile(copy.string(), Clean), 0) << files_[i] << " as " << LastVirusName;
    EXPECT_EQ(testing::ReadBytes(copy), bytes) << files_[i];
    EXPECT_EQ(testing::PermissionBits(copy), mode) << files_[i];
    EXPECT_FALSE(fs::exists(PATH_WITH_KOX_ENDING(copy.string()))) << files_[i];
  }
}

}  // namespace
}  // namespace morvane
