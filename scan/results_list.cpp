#include "scan/results_list.h"

#include <string>

#include "app/run_state.h"
#include "platform/main_view.h"

namespace morvane {

const char* FindingText(int kind) {
  if (kind > 0) return "清除病毒";
  if (kind < 0) return "发现病毒,没有清除,文件被占用";
  return "发现病毒";
}

void ReportFinding(MainView& view, const std::string& path, int kind) {
  // The name belongs to the calling thread; take it before the work moves to the window thread.
  const std::string virusName = LastVirusName;
  // The whole row runs on the window thread, so a memory-scan row written there can never take
  // the same index or lose a counter step.
  view.RunOnWindowThread([&] {
    if (ScanRunState.StopRequested()) return;
    if (ScanRunState.rowCount.load() >= kMaxResultRows) {
      view.DeleteAllRows();
      ScanRunState.rowCount.store(0);
    }
    const int row = ScanRunState.rowCount.load();
    view.InsertRow(row);
    view.SetCell(row, kColumnPath, path);
    view.SetCell(row, kColumnVirus, virusName);
    if (ScanRunState.StopRequested()) return;
    view.SetCell(row, kColumnResult, FindingText(kind));
    if (kind > 0) {
      view.SetControlText(kIdCleanedCounter,
                          std::to_string(ScanRunState.virusesCleaned.fetch_add(1) + 1));
    }
    view.EnsureVisible(row);
    if (ScanRunState.StopRequested()) return;
    ScanRunState.rowCount.fetch_add(1);
    view.SetControlText(kIdVirusCounter,
                        std::to_string(ScanRunState.virusesFound.fetch_add(1) + 1));
  });
}

}  // namespace morvane
