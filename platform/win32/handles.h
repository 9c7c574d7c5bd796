// The owning handle types of the Win32 backend, one per close function.
#pragma once

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace morvane::win32 {

// Process, thread and token handles: NULL when absent.
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return nullptr; }
  static bool Close(Value value) { return CloseHandle(value) != 0; }
};

// CreateFileA and tool-help snapshots give INVALID_HANDLE_VALUE on failure.
struct FileHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Value value) { return CloseHandle(value) != 0; }
};

struct FindHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Value value) { return FindClose(value) != 0; }
};

struct RegistryKeyTraits {
  using Value = HKEY;
  static Value Invalid() { return nullptr; }
  static bool Close(Value value) { return RegCloseKey(value) == ERROR_SUCCESS; }
};

struct ServiceHandleTraits {
  using Value = SC_HANDLE;
  static Value Invalid() { return nullptr; }
  static bool Close(Value value) { return CloseServiceHandle(value) != 0; }
};

struct LibraryTraits {
  using Value = HMODULE;
  static Value Invalid() { return nullptr; }
  static bool Close(Value value) { return FreeLibrary(value) != 0; }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using SnapshotHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegistryKeyHandle = UniqueHandle<RegistryKeyTraits>;
using ServiceHandle = UniqueHandle<ServiceHandleTraits>;
using Library = UniqueHandle<LibraryTraits>;

// An entry point of a library loaded by name at run time; null when either is missing.
template <typename Function>
Function EntryPoint(const Library& library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library.Get(), name)));
}

}  // namespace morvane::win32
