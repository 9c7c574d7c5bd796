// The application object: sets up the user interface and the platform, runs the main window
// modally, and ends the program when it closes.
#pragma once

namespace morvane {

class ScanToolApp {
 public:
  // The program's exit code.
  int Run();
};

}  // namespace morvane
