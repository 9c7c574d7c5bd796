#include "app/run_state.h"

#include <cstring>

namespace morvane {

ScanRunStateRecord ScanRunState;
thread_local char LastVirusName[kVirusNameSize] = {};
std::atomic<int32_t> isWin9x{0};
const char ALL_LOCAL_DRIVES[] = "所有本机硬盘驱动器";

void ScanRunStateRecord::Reset() {
  for (auto* field : {&mode, &stopRequested, &workerRunning, &rebootNeeded, &startupCheckNeeded,
                      &filesScanned, &virusesFound, &virusesCleaned, &rowCount}) {
    field->store(0);
  }
}

void SetLastVirusName(const char* name) {
  std::strncpy(LastVirusName, name, kVirusNameSize - 1);
  LastVirusName[kVirusNameSize - 1] = '\0';
}

}  // namespace morvane
