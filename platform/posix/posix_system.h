// Version, pauses and commands on a POSIX system, where no Windows command can run.
#pragma once

#include "platform/system.h"

namespace morvane {

class PosixSystem : public System {
 public:
  int PlatformId() override { return kPlatformUnknown; }
  void Sleep(uint32_t milliseconds) override;
  // Nothing runs: the result is WinExec's "file not found".
  unsigned RunCommand(const std::string&, int) override { return 2; }
};

}  // namespace morvane
