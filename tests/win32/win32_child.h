// Starting the backend tests' helper program.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace morvane::testing {

constexpr char kProbeName[] = "morvane_platform_probe.exe";

// The helper's quoted full path followed by `arguments`.
std::string ProbeCommandLine(const std::string& arguments);
// Starts the helper with `arguments`; the process handle, or null.
HANDLE StartProbe(const std::string& arguments, DWORD* processId = nullptr);
// Runs the helper to its end and gives its exit code, or -1.
int RunProbe(const std::string& arguments);

}  // namespace morvane::testing
