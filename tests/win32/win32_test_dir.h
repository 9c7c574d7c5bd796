// A fresh temporary folder as a narrow path, for tests that make GBK-named files through the
// "A" calls. Removed with its contents.
#pragma once

#include <string>

#include "fakes/temp_dir.h"

namespace morvane::testing {

class Win32TestDir {
 public:
  // The folder, without a trailing "\".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  // Writes `bytes` to the file `name` in the folder and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes = "x") const;
  std::string Read(const std::string& name) const;

 private:
  TempDir dir_;
  // Windows' temporary folder has an ASCII path, which converts unchanged.
  std::string path_ = dir_.path().string();
};

// The folder this test program was started from, without a trailing "\".
std::string ProgramFolder();

}  // namespace morvane::testing
