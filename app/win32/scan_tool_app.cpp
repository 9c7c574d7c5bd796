#include "app/win32/scan_tool_app.h"

#include "app/win32/main_dialog.h"
#include "platform/platform.h"
#include "platform/win32/ui/ui_setup.h"
#include "platform/win32/win32_platform.h"

namespace morvane {

int ScanToolApp::Run() {
  win32::SetUpUserInterface();
  ScopedPlatform platform(Win32Platform());
  MainDialog dialog;
  dialog.RunModal();
  return 0;
}

}  // namespace morvane

int main() {
  return morvane::ScanToolApp().Run();
}
