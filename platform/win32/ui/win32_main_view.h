// The main window's controls as a MainView. Calls from the scan worker are carried to the window
// thread by a sent private message, so the worker waits while that thread is busy, and rows are
// never written by two threads at once.
#pragma once

#include "platform/main_view.h"
#include "platform/win32/windows_api.h"

namespace morvane::win32 {

// lParam: the std::function<void()> to run on the window thread.
constexpr UINT kRunOnWindowThreadMessage = WM_APP + 1;

class Win32MainView : public MainView {
 public:
  void Attach(HWND window);
  // The window thread's side of RunOnWindowThread.
  void RunSentWork(LPARAM work);

  void RunOnWindowThread(const std::function<void()>& work) override;
  void SetControlText(int controlId, const std::string& text) override;
  void DeleteAllRows() override;
  void InsertRow(int index) override;
  void SetCell(int index, int column, const std::string& text) override;
  void EnsureVisible(int index) override;
  void ClearProcessBox() override;
  void AddProcessEntry(const std::string& text) override;
  std::string ReadScanPath() override;
  void WriteScanPath(const std::string& path) override;
  int ShowMessage(const std::string& text, MessageKind kind) override;
  void PumpMessagesUntil(const std::function<bool()>& done) override;
  void CloseWindow() override;

 private:
  LRESULT SendToList(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  DWORD windowThread_ = 0;
};

// The program's file name without folder and extension: the caption of its message boxes.
std::string ProgramName();

}  // namespace morvane::win32
