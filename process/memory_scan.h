// One pass over the running processes.
#pragma once

namespace morvane {

class MainView;

// Checks every running process's file; reports infected ones as rows of `view`.
void ScanMemory(MainView& view);

}  // namespace morvane
