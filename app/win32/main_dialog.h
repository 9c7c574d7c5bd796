// The main window's behaviour: what happens when it opens and what each button starts.
#pragma once

#include "platform/win32/ui/main_window.h"
#include "scan/run_steps.h"
#include "scan/scan_run.h"

namespace morvane {

constexpr int kMainDialogTemplate = 102;
constexpr int kProgramIcon = 128;
constexpr const char* kWindowTitle = "Morvane蠕虫勒索病毒专杀免疫工具";

class MainDialog : public win32::MainWindowEvents {
 public:
  MainDialog();
  // Shows the window until Exit, Esc or the close box ends it.
  void RunModal();

 private:
  void OnInit(win32::MainWindow& window) override;
  void OnButton(int id) override;

  win32::MainWindow window_;
  RunSteps steps_;
  ScanRun run_;
};

}  // namespace morvane
