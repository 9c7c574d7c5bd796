// Version query, pauses and command lines.
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// Platform identifiers of GetVersionExA.
constexpr int kPlatformWin32s = 0;
constexpr int kPlatformWindows9x = 1;
constexpr int kPlatformNt = 2;
constexpr int kPlatformUnknown = -1;

// Show states of WinExec.
constexpr int kShowHide = 0;
constexpr int kShowShow = 5;

class System {
 public:
  virtual ~System() = default;
  // dwPlatformId of GetVersionExA, or kPlatformUnknown when the query fails.
  virtual int PlatformId() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // WinExec: starts a command line; above 31 when it started.
  virtual unsigned RunCommand(const std::string& commandLine, int showState) = 0;
};

}  // namespace morvane
