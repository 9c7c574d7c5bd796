// The Scan, Clean, Stop, Exit and Clear list buttons, and the worker that walks the scan path.
#pragma once

#include <atomic>
#include <string>

#include "app/run_state.h"
#include "scan/run_steps.h"

namespace morvane {

class MainView;

constexpr const char* kImmunisationInstall = "QuorvexSvc.exe -i";
constexpr const char* kImmunisationStart = "net.exe start QuorvexSvc";
constexpr const char* kWormServices[] = {"RpcTftpd", "RpcPatch"};
constexpr const char* kFinishedText = "查杀完毕！";
constexpr const char* kRestartText = "如果要彻底清除病毒，请重新启动计算机";

class ScanRun {
 public:
  ScanRun(MainView& view, RunSteps steps) : view_(view), steps_(std::move(steps)) {}
  ~ScanRun();
  ScanRun(const ScanRun&) = delete;
  ScanRun& operator=(const ScanRun&) = delete;

  void OnScan();
  void OnClean();
  void OnStop();
  // Stop, the pause, and the window closes once the worker is gone.
  void OnExit();
  // The close box or Esc: no pause, but the worker is still stopped and awaited.
  void OnCancel();
  void OnClearList();

  // The worker's body: walks `scanPath` (or every fixed drive and RAM disk) once, then tells the
  // user the run is over. Returns at once when another walk is running.
  int ScanWorker(const std::string& scanPath);
  // Resets the list, the counters and the flags as the first steps of a run do.
  void BeginRun(ScanMode mode);

  // Stops a running walk and keeps the window's messages flowing until the worker has ended.
  void StopAndAwaitWorkers();
  bool WorkersActive() const { return activeWorkers_.load() != 0; }
  int ActiveWorkers() const { return activeWorkers_.load(); }

  // The command launching "net.exe" by the system folder's full path, so that no "net.exe" in
  // the current folder runs with the tool's rights.
  static std::string ImmunisationStartCommand(const std::string& systemDirectory);

 private:
  void ResetForRun(ScanMode mode);
  void StartWorker();
  void LaunchImmunisation();

  MainView& view_;
  RunSteps steps_;
  std::string scanPath_;
  std::atomic<int> activeWorkers_{0};
};

}  // namespace morvane
