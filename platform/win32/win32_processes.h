// Running processes: the process-status library on the NT family, tool-help snapshots on both.
// Both libraries are looked up by name, since not every Windows version has them.
#pragma once

#include "platform/processes.h"

namespace morvane {

class Win32Processes : public Processes {
 public:
  bool ListNt(std::vector<ProcessEntry>& out) override;
  bool ListSnapshot(std::vector<ProcessEntry>& out) override;
  EndResult Terminate(uint32_t processId, uint32_t access, uint32_t exitCode) override;
  bool EnableDebugPrivilege(const std::string& name, bool enable) override;
};

}  // namespace morvane
