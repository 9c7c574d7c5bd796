// The one dispatch point of a modal dialog: `this` is stored when the window is created and every
// message goes to a virtual handler. Nothing may throw across the Win32 callback.
#pragma once

#include "platform/win32/windows_api.h"

namespace morvane::win32 {

class Dialog {
 public:
  virtual ~Dialog() = default;
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Shows dialog template `templateId` of this program and returns the result it ended with.
  INT_PTR RunModal(int templateId, HWND parent = nullptr);
  HWND Window() const { return window_; }

 protected:
  // WM_INITDIALOG; true lets the system set the focus.
  virtual bool OnInit() { return true; }
  // WM_COMMAND: control `id` sent notification `code` (BN_CLICKED for buttons, IDOK on
  // Enter, IDCANCEL on Esc and the close box).
  virtual void OnCommand(int, int) {}
  // Any other message. True when handled; `result` is then the procedure's return value.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};

}  // namespace morvane::win32
