#include "platform/win32/win32_file.h"

#include <algorithm>

namespace morvane {

namespace {

// ReadFile and WriteFile take 32-bit counts.
constexpr size_t kMaxChunk = 1u << 30;

OVERLAPPED At(uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

}  // namespace

size_t Win32File::ReadAt(uint64_t offset, void* buffer, size_t count) {
  if (!handle_) return 0;
  size_t done = 0;
  while (done < count) {
    OVERLAPPED at = At(offset + done);
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(count - done, kMaxChunk));
    // A read at or past the end fails with ERROR_HANDLE_EOF through an OVERLAPPED position.
    if (!ReadFile(handle_.Get(), static_cast<char*>(buffer) + done, chunk, &got, &at) || got == 0) {
      break;
    }
    done += got;
  }
  return done;
}

bool Win32File::WriteAt(uint64_t offset, const void* buffer, size_t count) {
  if (!handle_) return false;
  size_t done = 0;
  while (done < count) {
    OVERLAPPED at = At(offset + done);
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(count - done, kMaxChunk));
    if (!WriteFile(handle_.Get(), static_cast<const char*>(buffer) + done, chunk, &put, &at) ||
        put == 0) {
      return false;
    }
    done += put;
  }
  return true;
}

std::optional<uint64_t> Win32File::Size() {
  LARGE_INTEGER size;
  if (!handle_ || !GetFileSizeEx(handle_.Get(), &size)) return std::nullopt;
  return static_cast<uint64_t>(size.QuadPart);
}

bool Win32File::Resize(uint64_t length) {
  if (!handle_) return false;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(length);
  return SetFilePointerEx(handle_.Get(), position, nullptr, FILE_BEGIN) &&
         SetEndOfFile(handle_.Get());
}

}  // namespace morvane
