#include "platform/win32/ui/dialog.h"

namespace morvane::win32 {

INT_PTR Dialog::RunModal(int templateId, HWND parent) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent,
                         &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<Dialog*>(lParam);
    dialog->window_ = window;
    SetWindowLongPtrA(window, DWLP_USER, lParam);
  }
  // Messages before WM_INITDIALOG (WM_SETFONT) find no dialog yet.
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  try {
    return dialog->Dispatch(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NCDESTROY:
      window_ = nullptr;
      return FALSE;
    default:
      break;
  }
  INT_PTR result = FALSE;
  return OnMessage(message, wParam, lParam, result) ? result : FALSE;
}

}  // namespace morvane::win32
