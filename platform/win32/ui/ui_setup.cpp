#include "platform/win32/ui/ui_setup.h"

#include "platform/win32/windows_api.h"
// These need <windows.h> first.
#include <commctrl.h>
#include <ole2.h>

namespace morvane::win32 {

void SetUpUserInterface() {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
}

}  // namespace morvane::win32
