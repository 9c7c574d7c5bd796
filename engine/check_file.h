// The one door into the file engine.
#pragma once

#include <string>

#include "app/run_state.h"

namespace morvane {

// 1: a virus (LastVirusName holds its name), 0: nothing found, -1: the file cannot be opened.
int CheckFile(const std::string& path, ScanMode mode);

}  // namespace morvane
