// Known worm autostart values in the machine-wide Run key.
#pragma once

#include "app/run_state.h"

namespace morvane {

class MainView;

// Deletes the values named like the worms' autostart entries.
void CleanStartupValues();
// Checks the files that two worm entries name and reports infected ones in `view`.
void CheckStartupValues(MainView& view, ScanMode mode);

}  // namespace morvane
