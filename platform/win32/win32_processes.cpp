#include "platform/win32/win32_processes.h"

#include "platform/win32/handles.h"

namespace morvane {

namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using ModuleTextFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);

constexpr DWORD kMaxProcesses = 1024;
// TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY.
constexpr DWORD kTokenAccess = 0x28;

struct Psapi {
  win32::Library library{LoadLibraryA("PSAPI.DLL")};
  EnumProcessesFn enumProcesses = win32::EntryPoint<EnumProcessesFn>(library, "EnumProcesses");
  EnumProcessModulesFn enumModules =
      win32::EntryPoint<EnumProcessModulesFn>(library, "EnumProcessModules");
  ModuleTextFn fileName = win32::EntryPoint<ModuleTextFn>(library, "GetModuleFileNameExA");
  ModuleTextFn baseName = win32::EntryPoint<ModuleTextFn>(library, "GetModuleBaseNameA");

  bool Complete() const { return enumProcesses && enumModules && fileName && baseName; }
};

std::string ModuleText(ModuleTextFn query, HANDLE process, HMODULE module) {
  char buffer[MAX_PATH];
  const DWORD length = query(process, module, buffer, sizeof buffer);
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

// Full path of a process's main module from a module snapshot; empty when it cannot be had.
std::string MainModulePath(CreateSnapshotFn createSnapshot, ModuleWalkFn firstModule,
                           DWORD processId) {
  if (!firstModule) return {};
  win32::SnapshotHandle modules(createSnapshot(TH32CS_SNAPMODULE, processId));
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  if (!modules || !firstModule(modules.Get(), &module)) return {};
  return module.szExePath;
}

}  // namespace

bool Win32Processes::ListNt(std::vector<ProcessEntry>& out) {
  const Psapi psapi;
  if (!psapi.Complete()) return false;
  DWORD ids[kMaxProcesses];
  DWORD bytes = 0;
  if (!psapi.enumProcesses(ids, sizeof ids, &bytes)) return false;
  for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
    win32::KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!process || !psapi.enumModules(process.Get(), &module, sizeof module, &needed)) continue;
    out.push_back({ids[i], ModuleText(psapi.baseName, process.Get(), module),
                   ModuleText(psapi.fileName, process.Get(), module)});
  }
  return true;
}

bool Win32Processes::ListSnapshot(std::vector<ProcessEntry>& out) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto lookUp = [kernel](const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(kernel, name));
  };
  const auto createSnapshot =
      reinterpret_cast<CreateSnapshotFn>(lookUp("CreateToolhelp32Snapshot"));
  const auto firstProcess = reinterpret_cast<ProcessWalkFn>(lookUp("Process32First"));
  const auto nextProcess = reinterpret_cast<ProcessWalkFn>(lookUp("Process32Next"));
  const auto firstModule = reinterpret_cast<ModuleWalkFn>(lookUp("Module32First"));
  if (!createSnapshot || !firstProcess || !nextProcess) return false;
  win32::SnapshotHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  if (!snapshot || !firstProcess(snapshot.Get(), &entry)) return false;
  do {
    std::string path = MainModulePath(createSnapshot, firstModule, entry.th32ProcessID);
    out.push_back({entry.th32ProcessID, entry.szExeFile, path.empty() ? entry.szExeFile : path});
  } while (nextProcess(snapshot.Get(), &entry));
  return true;
}

EndResult Win32Processes::Terminate(uint32_t processId, uint32_t access, uint32_t exitCode) {
  win32::KernelHandle process(OpenProcess(access, FALSE, processId));
  if (!process) return EndResult::NotOpened;
  return TerminateProcess(process.Get(), exitCode) ? EndResult::Ended : EndResult::Failed;
}

bool Win32Processes::EnableDebugPrivilege(const std::string& name, bool enable) {
  // GetCurrentProcess gives a pseudo handle; closing it is harmless, as the routine has always
  // done, and keeps one owner per handle.
  win32::KernelHandle process(GetCurrentProcess());
  if (!process) return false;
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(process.Get(), kTokenAccess, &rawToken)) return false;
  win32::KernelHandle token(rawToken);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  if (!LookupPrivilegeValueA(nullptr, name.c_str(), &privileges.Privileges[0].Luid)) return false;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  SetLastError(ERROR_SUCCESS);
  const BOOL adjusted =
      AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr);
  // Success with ERROR_NOT_ALL_ASSIGNED means the account does not hold the privilege.
  return GetLastError() == ERROR_SUCCESS && adjusted != 0;
}

}  // namespace morvane
