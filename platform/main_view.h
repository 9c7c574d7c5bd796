// What the run logic changes in the main window. Calls may come from the window thread or the
// scan worker; a backend carries each out on the window thread.
#pragma once

#include <functional>
#include <string>

namespace morvane {

// Controls of the main window.
constexpr int kIdExit = 1;  // the dialog's OK command
constexpr int kIdScanPath = 1001;
constexpr int kIdScan = 1004;
constexpr int kIdClean = 1005;
constexpr int kIdResultsList = 1006;
constexpr int kIdFilesCounter = 1007;
constexpr int kIdVirusCounter = 1008;
constexpr int kIdCleanedCounter = 1010;
constexpr int kIdStatusLine = 1011;
constexpr int kIdStop = 1014;
constexpr int kIdProcessList = 1017;
constexpr int kIdClearList = 1018;

// Message box kinds used by the run.
enum class MessageKind { Exclamation, Information, YesNo };
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

class MainView {
 public:
  virtual ~MainView() = default;

  // Runs `work` on the window thread and returns when it is done. The row writers use it so that
  // a row and its counters are never interleaved with another thread's row.
  virtual void RunOnWindowThread(const std::function<void()>& work) = 0;

  virtual void SetControlText(int controlId, const std::string& text) = 0;

  // The results list (control 1006).
  virtual void DeleteAllRows() = 0;
  virtual void InsertRow(int index) = 0;
  virtual void SetCell(int index, int column, const std::string& text) = 0;
  virtual void EnsureVisible(int index) = 0;

  // The process list box (control 1017).
  virtual void ClearProcessBox() = 0;
  virtual void AddProcessEntry(const std::string& text) = 0;

  // Data exchange with combo box 1001.
  virtual std::string ReadScanPath() = 0;
  virtual void WriteScanPath(const std::string& path) = 0;

  // A message box owned by the main window, captioned with the program's name.
  virtual int ShowMessage(const std::string& text, MessageKind kind) = 0;

  // Keeps the window's messages flowing until `done` holds.
  virtual void PumpMessagesUntil(const std::function<bool()>& done) = 0;
  // Ends the modal main window.
  virtual void CloseWindow() = 0;
};

}  // namespace morvane
