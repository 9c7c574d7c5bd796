// Version, pauses and commands that only record what was asked of them.
#pragma once

#include <functional>
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
  // Receives every call as it is made, to merge it into a wider log.
  std::function<void(const std::string&)> log;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
};

}  // namespace morvane::testing
