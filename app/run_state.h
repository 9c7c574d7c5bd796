// The process-wide state that the window thread and the scan worker share. Every field is an
// atomic word: the stop flag must reach the worker at its next test, and a counter or row index
// is never lost or used twice.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace morvane {

enum ScanMode : int32_t { Detect = 0, Clean = 1 };

struct ScanRunStateRecord {
  std::atomic<int32_t> mode{Detect};
  std::atomic<int32_t> stopRequested{0};
  std::atomic<int32_t> workerRunning{0};
  std::atomic<int32_t> rebootNeeded{0};
  std::atomic<int32_t> startupCheckNeeded{0};
  std::atomic<int32_t> filesScanned{0};
  std::atomic<int32_t> virusesFound{0};
  std::atomic<int32_t> virusesCleaned{0};
  std::atomic<int32_t> rowCount{0};

  ScanMode Mode() const { return static_cast<ScanMode>(mode.load()); }
  bool StopRequested() const { return stopRequested.load() != 0; }
  // Back to the state of program start (for tests and the console front end).
  void Reset();
};

extern ScanRunStateRecord ScanRunState;

constexpr size_t kVirusNameSize = 32;
// The name of the virus the engine identified last on this thread. Each thread has its own, so a
// memory scan on the window thread cannot replace the name the worker is about to report.
extern thread_local char LastVirusName[kVirusNameSize];
void SetLastVirusName(const char* name);

// 1 on the Windows 95/98/Me family, set once when the main window opens.
extern std::atomic<int32_t> isWin9x;

// The scan-path entry that stands for every fixed drive and RAM disk.
extern const char ALL_LOCAL_DRIVES[];

}  // namespace morvane
