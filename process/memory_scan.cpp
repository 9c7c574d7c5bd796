#include "process/memory_scan.h"

namespace morvane {

// The process scan joins here; until then a pass finds no process.
void ScanMemory(MainView&) {}

}  // namespace morvane
