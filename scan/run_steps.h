// The calls a run makes into the engine, the memory scan and the repairs. A run takes them as
// values so that tests can record the order of a run or script the engine's answers.
#pragma once

#include <functional>
#include <string>

#include "app/run_state.h"

namespace morvane {

class MainView;

struct RunSteps {
  std::function<int(const std::string& path, ScanMode mode)> checkFile;
  std::function<void(MainView& view)> scanMemory;
  std::function<void(MainView& view, ScanMode mode)> checkStartupValues;
  std::function<void()> cleanStartupValues;
  std::function<int(const std::string& name)> stopAndDeleteService;

  // The system's own engine and repairs.
  static RunSteps Real();
};

}  // namespace morvane
