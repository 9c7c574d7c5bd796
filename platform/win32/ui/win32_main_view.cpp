#include "platform/win32/ui/win32_main_view.h"

#include <commctrl.h>

#include <vector>

namespace morvane::win32 {

namespace {

// How long one wait of the message pump lasts before `done` is asked again.
constexpr DWORD kPumpSliceMs = 10;

UINT MessageBoxType(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      return MB_OK | MB_ICONINFORMATION;
    case MessageKind::YesNo:
      return MB_YESNO | MB_ICONQUESTION;
    case MessageKind::Exclamation:
      break;
  }
  return MB_OK | MB_ICONEXCLAMATION;
}

}  // namespace

std::string ProgramName() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name(path, length < sizeof path ? length : 0);
  name.erase(0, name.find_last_of("\\/") + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

void Win32MainView::Attach(HWND window) {
  window_ = window;
  windowThread_ = GetWindowThreadProcessId(window, nullptr);
}

void Win32MainView::RunSentWork(LPARAM work) {
  (*reinterpret_cast<const std::function<void()>*>(work))();
}

void Win32MainView::RunOnWindowThread(const std::function<void()>& work) {
  if (window_ == nullptr || GetCurrentThreadId() == windowThread_) {
    work();
    return;
  }
  // A window that is gone answers nothing and runs nothing: the worker goes on and ends.
  SendMessageA(window_, kRunOnWindowThreadMessage, 0, reinterpret_cast<LPARAM>(&work));
}

void Win32MainView::SetControlText(int controlId, const std::string& text) {
  RunOnWindowThread([&] { SetDlgItemTextA(window_, controlId, text.c_str()); });
}

LRESULT Win32MainView::SendToList(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  RunOnWindowThread(
      [&] { result = SendDlgItemMessageA(window_, kIdResultsList, message, wParam, lParam); });
  return result;
}

void Win32MainView::DeleteAllRows() {
  SendToList(LVM_DELETEALLITEMS, 0, 0);
}

void Win32MainView::InsertRow(int index) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>("");
  SendToList(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32MainView::SetCell(int index, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendToList(LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
}

void Win32MainView::EnsureVisible(int index) {
  SendToList(LVM_ENSUREVISIBLE, index, TRUE);
}

void Win32MainView::ClearProcessBox() {
  RunOnWindowThread([&] { SendDlgItemMessageA(window_, kIdProcessList, LB_RESETCONTENT, 0, 0); });
}

void Win32MainView::AddProcessEntry(const std::string& text) {
  RunOnWindowThread([&] {
    SendDlgItemMessageA(window_, kIdProcessList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(text.c_str()));
  });
}

std::string Win32MainView::ReadScanPath() {
  std::string path;
  RunOnWindowThread([&] {
    const HWND combo = GetDlgItem(window_, kIdScanPath);
    std::vector<char> buffer(static_cast<size_t>(GetWindowTextLengthA(combo)) + 1);
    const int length = GetWindowTextA(combo, buffer.data(), static_cast<int>(buffer.size()));
    path.assign(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
  });
  return path;
}

// The first item that begins with the path is selected; without one the edit field takes it.
void Win32MainView::WriteScanPath(const std::string& path) {
  RunOnWindowThread([&] {
    const HWND combo = GetDlgItem(window_, kIdScanPath);
    if (SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(path.c_str())) == CB_ERR) {
      SetWindowTextA(combo, path.c_str());
    }
  });
}

// Shown from the calling thread, owned by the main window: a worker waits here for the user.
int Win32MainView::ShowMessage(const std::string& text, MessageKind kind) {
  return MessageBoxA(window_, text.c_str(), ProgramName().c_str(), MessageBoxType(kind));
}

// Sent messages are delivered inside PeekMessageA, so a worker waiting in SendMessageA for this
// thread gets its answer while this loop runs.
void Win32MainView::PumpMessagesUntil(const std::function<bool()>& done) {
  while (!done()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpSliceMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      if (window_ != nullptr && IsDialogMessageA(window_, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

void Win32MainView::CloseWindow() {
  RunOnWindowThread([&] { EndDialog(window_, IDOK); });
}

}  // namespace morvane::win32
