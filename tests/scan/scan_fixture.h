// Real files of a temporary folder, a window in memory and a recording system, with the run
// state back at its start values.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "app/run_state.h"
#include "fakes/fake_system.h"
#include "fakes/fake_view.h"
#include "fakes/temp_dir.h"
#include "platform/platform.h"
#include "platform/posix/posix_platform.h"
#include "scan/run_steps.h"

namespace morvane::testing {

// The engine's answers for a test: by file name (last component) and mode; 0 for the rest. Every
// call is recorded as "mode name".
class ScriptedEngine {
 public:
  void Answer(const std::string& name, ScanMode mode, int result);
  int Check(const std::string& path, ScanMode mode);
  std::vector<std::string> Calls() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<std::string, int>> answers_;
  std::vector<std::string> calls_;
};

class ScanFixture : public ::testing::Test {
 protected:
  ScanFixture();
  ~ScanFixture() override;

  // A run's steps that call the scripted engine and log every other step into the view's log.
  RunSteps Steps();
  // The temporary folder in the walker's own path form.
  std::string Root() const { return dir.path().string(); }

  TempDir dir;
  FakeView view;
  FakeSystem system;
  ScriptedEngine engine;

 private:
  Platform Make();
  ScopedPlatform platform_;
};

std::string BaseName(const std::string& path);

}  // namespace morvane::testing
