#include "repair/startup_values.h"

namespace morvane {

// The registry repairs join here; until then there is nothing to clean or check.
void CleanStartupValues() {}
void CheckStartupValues(MainView&, ScanMode) {}

}  // namespace morvane
