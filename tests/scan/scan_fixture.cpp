#include "scan/scan_fixture.h"

namespace morvane::testing {

std::string BaseName(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

void ScriptedEngine::Answer(const std::string& name, ScanMode mode, int result) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.emplace_back(name + (mode == Clean ? "|1" : "|0"), result);
}

int ScriptedEngine::Check(const std::string& path, ScanMode mode) {
  const std::string name = BaseName(path);
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(std::to_string(mode) + " " + name);
  const std::string key = name + (mode == Clean ? "|1" : "|0");
  for (const auto& [answerKey, result] : answers_) {
    if (answerKey == key) {
      SetLastVirusName(("virus of " + name).c_str());
      return result;
    }
  }
  return 0;
}

std::vector<std::string> ScriptedEngine::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

ScanFixture::ScanFixture() : platform_(Make()) {
  ScanRunState.Reset();
  system.log = [this](const std::string& entry) { view.Note(entry); };
}

ScanFixture::~ScanFixture() {
  ScanRunState.Reset();
}

Platform ScanFixture::Make() {
  Platform platform = PosixPlatform();
  platform.system = &system;
  return platform;
}

RunSteps ScanFixture::Steps() {
  RunSteps steps;
  steps.checkFile = [this](const std::string& path, ScanMode mode) {
    return engine.Check(path, mode);
  };
  steps.scanMemory = [this](MainView&) { view.Note("memory scan"); };
  steps.checkStartupValues = [this](MainView&, ScanMode mode) {
    view.Note("check startup values " + std::to_string(mode));
  };
  steps.cleanStartupValues = [this] { view.Note("clean startup values"); };
  steps.stopAndDeleteService = [this](const std::string& name) {
    view.Note("remove service " + name);
    return 0;
  };
  return steps;
}

}  // namespace morvane::testing
