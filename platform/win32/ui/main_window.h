// The Win32 side of the main window: its look (background colour, icons, the minimised icon),
// the results list's columns, the combo box items, and the private message that carries work
// from the scan worker to the window thread. What the buttons do lives with the application.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/ui/dialog.h"
#include "platform/win32/ui/win32_main_view.h"

namespace morvane::win32 {

class MainWindow;

class MainWindowEvents {
 public:
  virtual ~MainWindowEvents() = default;
  virtual void OnInit(MainWindow& window) = 0;
  // A button press: its control id (IDOK for Exit and Enter, IDCANCEL for Esc and the close box).
  virtual void OnButton(int id) = 0;
};

struct WindowLook {
  int iconId;
  COLORREF background;
  COLORREF text;
};

class MainWindow : public Dialog {
 public:
  MainWindow(MainWindowEvents& events, const WindowLook& look);
  ~MainWindow() override;

  MainView& View() { return view_; }

  void SetIcons();
  void SetTitle(const std::string& title);
  void AddComboItem(int controlId, const std::string& text);
  // LVM_SETEXTENDEDLISTVIEWSTYLE with mask 0: the whole extended style.
  void SetListExtendedStyle(int controlId, DWORD style);
  void AddListColumn(int controlId, int index, const std::string& header, int width);

 protected:
  bool OnInit() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void PaintMinimised();

  MainWindowEvents& events_;
  WindowLook look_;
  HICON icon_;
  HBRUSH background_;
  Win32MainView view_;
};

}  // namespace morvane::win32
