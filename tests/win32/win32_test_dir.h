// A fresh folder under Windows' temporary folder as a narrow path, removed with its contents.
#pragma once

#include <string>

namespace morvane::testing {

class Win32TestDir {
 public:
  Win32TestDir();
  ~Win32TestDir();
  Win32TestDir(const Win32TestDir&) = delete;
  Win32TestDir& operator=(const Win32TestDir&) = delete;

  // The folder, without a trailing "\".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  // Writes `bytes` to the file `name` in the folder and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes = "x") const;
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

// The folder this test program was started from, without a trailing "\".
std::string ProgramFolder();

}  // namespace morvane::testing
