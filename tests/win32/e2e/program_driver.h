// Drives morvane.exe from another process the way a user would: finds its window by title,
// reads and writes controls by window messages, presses buttons, answers its message boxes.
#pragma once

#include <string>

#include "platform/win32/handles.h"

namespace morvane::testing {

class ProgramDriver {
 public:
  // Starts the program beside this test program; Started() tells whether it runs.
  ProgramDriver();
  // Ends the program if it still runs.
  ~ProgramDriver();

  bool Started() const { return process_.Valid(); }
  // Waits until the main window is shown: it can be found while still hidden in WM_INITDIALOG.
  HWND WaitForMainWindow(DWORD timeoutMs);
  // A message box of the program (a "#32770" window captioned with the program's name).
  HWND WaitForMessageBox(DWORD timeoutMs);
  // True once no message box of the program is shown.
  bool WaitForNoMessageBox(DWORD timeoutMs);
  // True when the program ended within the time; its exit code in `exitCode`.
  bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);

  // WM_GETTEXT: GetWindowTextA gives nothing for controls of another process.
  static std::string Text(HWND window);
  std::string ControlText(int controlId) const;
  void SetControlText(int controlId, const std::string& text) const;
  // Posted, not sent: a button that opens a modal box would block a sent click.
  void Press(int controlId) const;
  int ListRowCount() const;
  // Header text and width of a results-list column, read through the program's own memory: a
  // list view fills only buffers in its own process.
  struct Column {
    std::string header;
    int width = 0;
  };
  Column ListColumn(int index) const;
  unsigned ListExtendedStyle() const;
  // The text of one cell of the results list, read through the program's memory.
  std::string ListCell(int row, int column) const;

 private:
  LRESULT SendToList(UINT message, WPARAM wParam, LPARAM lParam) const;

  win32::KernelHandle process_;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
};

}  // namespace morvane::testing
