#include "platform/win32/ui/main_window.h"

#include <commctrl.h>

namespace morvane::win32 {

MainWindow::MainWindow(MainWindowEvents& events, const WindowLook& look)
    : events_(events),
      look_(look),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(look.iconId))),
      background_(CreateSolidBrush(look.background)) {}

MainWindow::~MainWindow() {
  DeleteObject(background_);
}

void MainWindow::SetIcons() {
  SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
}

void MainWindow::SetTitle(const std::string& title) {
  SetWindowTextA(Window(), title.c_str());
}

void MainWindow::AddComboItem(int controlId, const std::string& text) {
  SendDlgItemMessageA(Window(), controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::SetListExtendedStyle(int controlId, DWORD style) {
  SendDlgItemMessageA(Window(), controlId, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
}

void MainWindow::AddListColumn(int controlId, int index, const std::string& header, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.cx = width;
  column.pszText = const_cast<char*>(header.c_str());
  SendDlgItemMessageA(Window(), controlId, LVM_INSERTCOLUMNA, index,
                      reinterpret_cast<LPARAM>(&column));
}

bool MainWindow::OnInit() {
  view_.Attach(Window());
  events_.OnInit(*this);
  return true;
}

void MainWindow::OnCommand(int id, int code) {
  if (code == BN_CLICKED) events_.OnButton(id);
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case kRunOnWindowThreadMessage:
      view_.RunSentWork(lParam);
      result = TRUE;
      return true;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
      const HDC context = reinterpret_cast<HDC>(wParam);
      SetTextColor(context, look_.text);
      SetBkColor(context, look_.background);
      // The colour messages are among the few whose answer is the procedure's return value.
      result = reinterpret_cast<INT_PTR>(background_);
      return true;
    }
    case WM_PAINT:
      if (!IsIconic(Window())) return false;
      PaintMinimised();
      result = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<INT_PTR>(icon_);
      return true;
    default:
      return false;
  }
}

void MainWindow::PaintMinimised() {
  PAINTSTRUCT paint;
  const HDC context = BeginPaint(Window(), &paint);
  SendMessageA(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
  RECT client;
  GetClientRect(Window(), &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(context, x, y, icon_);
  EndPaint(Window(), &paint);
}

}  // namespace morvane::win32
