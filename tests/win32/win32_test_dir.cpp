#include "win32/win32_test_dir.h"

#include "platform/win32/windows_api.h"

namespace morvane::testing {

std::string Win32TestDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string full = *this / name;
  HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return full;
}

std::string Win32TestDir::Read(const std::string& name) const {
  HANDLE file = CreateFileA((*this / name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  std::string bytes;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
  CloseHandle(file);
  return bytes;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace morvane::testing
