// An open Win32 file handle as a File.
#pragma once

#include "platform/file_system.h"
#include "platform/win32/handles.h"

namespace morvane {

class Win32File : public File {
 public:
  explicit Win32File(win32::FileHandle handle) : handle_(std::move(handle)) {}

  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;
  bool WriteAt(uint64_t offset, const void* buffer, size_t count) override;
  std::optional<uint64_t> Size() override;
  bool Resize(uint64_t length) override;
  bool Close() override { return handle_.Close(); }

 private:
  win32::FileHandle handle_;
};

}  // namespace morvane
