#include "scan/run_steps.h"

#include "engine/check_file.h"
#include "process/memory_scan.h"
#include "repair/service_removal.h"
#include "repair/startup_values.h"

namespace morvane {

RunSteps RunSteps::Real() {
  RunSteps steps;
  steps.checkFile = CheckFile;
  steps.scanMemory = ScanMemory;
  steps.checkStartupValues = CheckStartupValues;
  steps.cleanStartupValues = CleanStartupValues;
  steps.stopAndDeleteService = StopAndDeleteService;
  return steps;
}

}  // namespace morvane
