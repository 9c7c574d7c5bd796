// Version, pauses and command lines on Windows.
#pragma once

#include "platform/system.h"

namespace morvane {

class Win32System : public System {
 public:
  int PlatformId() override;
  void Sleep(uint32_t milliseconds) override;
  unsigned RunCommand(const std::string& commandLine, int showState) override;
};

}  // namespace morvane
