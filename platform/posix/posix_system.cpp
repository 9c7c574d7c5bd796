#include "platform/posix/posix_system.h"

#include <chrono>
#include <thread>

namespace morvane {

void PosixSystem::Sleep(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace morvane
