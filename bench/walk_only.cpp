// The walk of morvane-scan without the file engine: every file is shown, counted and handed to
// an engine that answers "nothing found" at once. Prints the files walked and the files/s.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/run_state.h"
#include "platform/main_view.h"
#include "platform/posix/posix_platform.h"
#include "scan/directory_walker.h"

namespace {

// A window that drops everything, as a console does when its output is not a terminal.
class NullView : public morvane::MainView {
 public:
  void RunOnWindowThread(const std::function<void()>& work) override { work(); }
  void SetControlText(int, const std::string&) override {}
  void DeleteAllRows() override {}
  void InsertRow(int) override {}
  void SetCell(int, int, const std::string&) override {}
  void EnsureVisible(int) override {}
  void ClearProcessBox() override {}
  void AddProcessEntry(const std::string&) override {}
  std::string ReadScanPath() override { return {}; }
  void WriteScanPath(const std::string&) override {}
  int ShowMessage(const std::string&, morvane::MessageKind) override { return 1; }
  void PumpMessagesUntil(const std::function<bool()>&) override {}
  void CloseWindow() override {}
};

}  // namespace

int main(int argc, char** argv) {
  using namespace morvane;
  if (argc != 2) {
    std::fprintf(stderr, "usage: walk_only PATH\n");
    return 2;
  }
  ScopedPlatform platform(PosixPlatform());
  NullView view;
  RunSteps steps;
  steps.checkFile = [](const std::string&, ScanMode) { return 0; };
  const auto start = std::chrono::steady_clock::now();
  DirectoryWalker(view, steps).WalkDirectory(argv[1], Detect);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int files = ScanRunState.filesScanned.load();
  std::printf("%d files in %.3f s: %.0f files/s\n", files, seconds, files / seconds);
  return 0;
}
