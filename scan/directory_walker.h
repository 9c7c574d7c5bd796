// Walks one folder tree depth first and hands every file to the file engine.
#pragma once

#include <string>
#include <vector>

#include "app/run_state.h"
#include "platform/file_system.h"
#include "scan/run_steps.h"

namespace morvane {

class MainView;

// A full path must fit this buffer with its terminating zero; longer ones are skipped.
constexpr size_t kWalkPathBuffer = 512;

class DirectoryWalker {
 public:
  DirectoryWalker(MainView& view, const RunSteps& steps) : view_(view), steps_(steps) {}

  // Returns when the tree is done, the folder cannot be searched, or a stop is seen.
  void WalkDirectory(const std::string& path, ScanMode mode);

 private:
  struct Level {
    const std::string* base;
    bool idKnown = false;
    std::optional<DirectoryId> id;
  };

  void WalkFolder(const std::string& path, ScanMode mode);
  void VisitFile(const std::string& base, const std::string& name, ScanMode mode, bool& stop);
  bool LeadsBackIntoWalk(const std::string& folder);

  MainView& view_;
  const RunSteps& steps_;
  std::vector<Level> open_;  // the folders being walked, outermost first
};

}  // namespace morvane
