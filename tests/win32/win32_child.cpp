#include "win32/win32_child.h"

#include "win32/win32_test_dir.h"

namespace morvane::testing {

std::string ProbeCommandLine(const std::string& arguments) {
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on a chain of operator+ here.
  std::string commandLine = "\"";
  commandLine.append(ProgramFolder()).append("\\").append(kProbeName).append("\" ");
  return commandLine.append(arguments);
}

HANDLE StartProbe(const std::string& arguments, DWORD* processId) {
  std::string commandLine = ProbeCommandLine(arguments);
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
