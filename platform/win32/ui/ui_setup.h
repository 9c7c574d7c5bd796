// What the program sets up once before its first window.
#pragma once

namespace morvane::win32 {

// OLE for this thread (the shell's folder dialog needs it) and the common controls (list view).
// Failures are passed over: the window still opens.
void SetUpUserInterface();

}  // namespace morvane::win32
