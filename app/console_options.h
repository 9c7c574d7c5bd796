// The command line of morvane-scan.
#pragma once

#include <string>
#include <vector>

#include "app/run_state.h"

namespace morvane {

struct ConsoleOptions {
  ScanMode mode = Detect;
  std::string path;
  bool help = false;
  std::string error;  // set when the command line is wrong
};

ConsoleOptions ParseConsoleOptions(const std::vector<std::string>& args);
extern const char kConsoleUsage[];

}  // namespace morvane
