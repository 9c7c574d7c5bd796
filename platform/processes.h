// Running processes on both Windows families.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

struct ProcessEntry {
  uint32_t processId = 0;
  std::string baseName;  // empty where the mechanism gives none
  std::string path;      // full path of the main module, case as reported
};

enum class EndResult { NotOpened, Failed, Ended };

class Processes {
 public:
  virtual ~Processes() = default;
  // The NT family's process-status listing; false when a library or entry point is missing.
  virtual bool ListNt(std::vector<ProcessEntry>& out) = 0;
  // A tool-help snapshot (the 9x family); false when it cannot be made.
  virtual bool ListSnapshot(std::vector<ProcessEntry>& out) = 0;
  // OpenProcess with `access`, then TerminateProcess with `exitCode`.
  virtual EndResult Terminate(uint32_t processId, uint32_t access, uint32_t exitCode) = 0;
  // Adjusts the named privilege of this process's token; false on any failure.
  virtual bool EnableDebugPrivilege(const std::string& name, bool enable) = 0;
};

}  // namespace morvane
