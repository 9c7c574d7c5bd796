#include "win32/win32_child.h"

#include "win32/win32_test_dir.h"

namespace morvane::testing {

HANDLE StartProbe(const std::string& arguments, DWORD* processId) {
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on the chain of operator+.
  std::string commandLine = "\"";
  commandLine.append(ProgramFolder()).append("\\").append(kProbeName).append("\" ");
  commandLine.append(arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  if (processId) *processId = process.dwProcessId;
  return process.hProcess;
}

int RunProbe(const std::string& arguments) {
  HANDLE process = StartProbe(arguments);
  if (!process) return -1;
  WaitForSingleObject(process, 30000);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return static_cast<int>(code);
}

}  // namespace morvane::testing
