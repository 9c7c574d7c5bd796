#include "fakes/fake_system.h"

namespace morvane::testing {

void FakeSystem::Sleep(uint32_t milliseconds) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back("sleep " + std::to_string(milliseconds));
  if (log) log(calls_.back());
}

unsigned FakeSystem::RunCommand(const std::string& commandLine, int showState) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back("run " + std::to_string(showState) + " " + commandLine);
  if (log) log(calls_.back());
  return 33;
}

std::vector<std::string> FakeSystem::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

}  // namespace morvane::testing
