// morvane-scan: the scanner's run logic for one folder tree, from a console.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/console_options.h"
#include "app/console_view.h"
#include "app/run_state.h"
#include "platform/file_system.h"
#include "platform/main_view.h"
#include "platform/posix/posix_platform.h"
#include "scan/scan_run.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitVirusFound = 1;
constexpr int kExitError = 2;

volatile sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
  interrupted = 1;
  // A lock-free atomic store is safe in a signal handler.
  morvane::ScanRunState.stopRequested.store(1);
}

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

// "dir/" and "dir" walk alike; keep the root itself.
std::string TrimTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool CanWalk(const std::string& path) {
  morvane::DirEntry entry;
  std::string base = path;
  if (base.back() != '\\' && base.back() != '/') base += '\\';
  return morvane::Files().FindFirst(base + "*.*", entry) != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morvane;
  const ConsoleOptions options =
      ParseConsoleOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (options.help) {
    std::fputs(kConsoleUsage, stdout);
    return kExitClean;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "morvane-scan: %s\n\n%s", options.error.c_str(), kConsoleUsage);
    return kExitError;
  }
  ScopedPlatform platform(PosixPlatform());
  const std::string path = TrimTrailingSlashes(options.path);
  errno = 0;
  if (path.empty() || !CanWalk(path)) {
    std::fprintf(stderr, "morvane-scan: cannot read the folder %s: %s\n", options.path.c_str(),
                 errno != 0 ? std::strerror(errno) : "not a folder");
    return kExitError;
  }

  InstallInterruptHandler();
  ConsoleView view(stdout, isatty(STDOUT_FILENO) == 1);
  ScanRun run(view, RunSteps::Real());
  view.WriteScanPath(path);
  run.BeginRun(options.mode);
  run.ScanWorker(path);
  view.EndProgress();

  std::printf("文件数：%s\t病毒数：%s\t清除数：%s\n", view.Counter(kIdFilesCounter).c_str(),
              view.Counter(kIdVirusCounter).c_str(), view.Counter(kIdCleanedCounter).c_str());
  const bool found = ScanRunState.virusesFound.load() > 0;
  if (interrupted) {
    std::fprintf(stderr, "morvane-scan: stopped before the walk was complete\n");
    return found ? kExitVirusFound : kExitError;
  }
  return found ? kExitVirusFound : kExitClean;
}
