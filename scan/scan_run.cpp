#include "scan/scan_run.h"

#include <thread>

#include "platform/file_system.h"
#include "platform/main_view.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "scan/directory_walker.h"

namespace morvane {

namespace {

constexpr int kScanMemoryPasses = 10;
constexpr int kCleanMemoryPasses = 9;
constexpr uint32_t kImmunisationPauseMs = 1000;
constexpr uint32_t kExitPauseMs = 500;

void ZeroCounters(MainView& view) {
  ScanRunState.filesScanned.store(0);
  ScanRunState.virusesFound.store(0);
  ScanRunState.virusesCleaned.store(0);
  for (int id : {kIdFilesCounter, kIdVirusCounter, kIdCleanedCounter}) {
    view.SetControlText(id, "0");
  }
}

}  // namespace

ScanRun::~ScanRun() {
  StopAndAwaitWorkers();
}

void ScanRun::ResetForRun(ScanMode mode) {
  scanPath_ = view_.ReadScanPath();
  ZeroCounters(view_);
  view_.WriteScanPath(scanPath_);
  view_.ClearProcessBox();
  ScanRunState.stopRequested.store(0);
  ScanRunState.startupCheckNeeded.store(0);
  ScanRunState.mode.store(mode);
}

void ScanRun::BeginRun(ScanMode mode) {
  view_.RunOnWindowThread([&] {
    ScanRunState.rebootNeeded.store(0);
    view_.DeleteAllRows();
    ScanRunState.rowCount.store(0);
  });
  ResetForRun(mode);
}

void ScanRun::OnScan() {
  BeginRun(Detect);
  for (int pass = 0; pass < kScanMemoryPasses; ++pass) steps_.scanMemory(view_);
  if (ScanRunState.startupCheckNeeded.load() == 1) steps_.checkStartupValues(view_, Detect);
  StartWorker();
  LaunchImmunisation();
}

void ScanRun::OnClean() {
  BeginRun(Clean);
  for (int pass = 0; pass < kCleanMemoryPasses; ++pass) steps_.scanMemory(view_);
  steps_.cleanStartupValues();
  for (const char* service : kWormServices) steps_.stopAndDeleteService(service);
  StartWorker();
  LaunchImmunisation();
}

void ScanRun::OnStop() {
  ScanRunState.stopRequested.store(1);
}

void ScanRun::OnExit() {
  ScanRunState.stopRequested.store(1);
  Sys().Sleep(kExitPauseMs);
  scanPath_ = view_.ReadScanPath();
  StopAndAwaitWorkers();
  view_.CloseWindow();
}

void ScanRun::OnCancel() {
  StopAndAwaitWorkers();
  view_.CloseWindow();
}

void ScanRun::OnClearList() {
  view_.RunOnWindowThread([&] {
    view_.DeleteAllRows();
    ScanRunState.rowCount.store(0);
  });
}

void ScanRun::StopAndAwaitWorkers() {
  if (!WorkersActive()) return;
  ScanRunState.stopRequested.store(1);
  // The worker may be waiting for this thread to carry out one of its window messages.
  view_.PumpMessagesUntil([this] { return !WorkersActive(); });
}

void ScanRun::StartWorker() {
  activeWorkers_.fetch_add(1);
  // The worker gets its own copy of the path: the window may change its own before it reads it.
  std::thread([this, path = scanPath_] {
    ScanWorker(path);
    activeWorkers_.fetch_sub(1);
  }).detach();
}

int ScanRun::ScanWorker(const std::string& scanPath) {
  // Test and set in one step, so two workers can never both walk.
  if (ScanRunState.workerRunning.exchange(1) == 1) return 0;
  DirectoryWalker walker(view_, steps_);
  if (scanPath != ALL_LOCAL_DRIVES) {
    walker.WalkDirectory(scanPath, ScanRunState.Mode());
  } else {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
      const std::string root = std::string(1, letter) + ":\\";
      const int type = Files().GetDriveType(root);
      if (type == kDriveFixed || type == kDriveRamdisk) {
        walker.WalkDirectory(root, ScanRunState.Mode());
      }
    }
  }
  if (!ScanRunState.StopRequested()) {
    view_.ShowMessage(ScanRunState.rebootNeeded.load() == 1 ? kRestartText : kFinishedText,
                      MessageKind::Exclamation);
  }
  ScanRunState.workerRunning.store(0);
  return 0;
}

std::string ScanRun::ImmunisationStartCommand(const std::string& systemDirectory) {
  if (systemDirectory.empty()) return kImmunisationStart;
  std::string command = systemDirectory;
  if (command.back() != '\\') command += '\\';
  return command + kImmunisationStart;
}

void ScanRun::LaunchImmunisation() {
  Sys().RunCommand(kImmunisationInstall, kShowHide);
  Sys().Sleep(kImmunisationPauseMs);
  Sys().RunCommand(ImmunisationStartCommand(Files().SystemDirectory()), kShowHide);
}

}  // namespace morvane
