// Version, pauses and commands that only record what was asked of them.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/system.h"

namespace morvane::testing {

class FakeSystem : public System {
 public:
  int PlatformId() override { return platformId; }
  void Sleep(uint32_t milliseconds) override;
  unsigned RunCommand(const std::string& commandLine, int showState) override;
  std::vector<std::string> Calls() const;

  int platformId = kPlatformNt;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
};

}  // namespace morvane::testing
