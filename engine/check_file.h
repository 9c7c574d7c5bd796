// The one door into the file engine.
#pragma once

#include <functional>
#include <string>

#include "app/run_state.h"
#include "engine/signatures.h"

namespace morvane {

constexpr int MAX_CLEAN_PASSES = 1000;

// The calls the file check makes; replaceable so tests can script the rule engine's answers or
// the reboot request.
struct CheckFileSteps {
  std::function<int(const std::string& path, int mode)> applyRules;
  std::function<bool(const std::string& path, int deleteOnly)> deleteOnReboot;

  // ApplyVirusRules with the built-in table, and DeleteOnReboot.
  static const CheckFileSteps& Real();
  // The same with another signature table.
  static CheckFileSteps WithTable(const SignatureTable& table);
};

// 1: a virus (LastVirusName holds its name), 0: nothing found, -1: the file cannot be opened.
// In Clean mode the file is cleaned too; the result is then above 0 only when the file was
// cleaned (gone, a folder in its place, or reported clean by a pass) or its replacement or
// deletion at the next start was recorded: an infected file left as it was gives 0.
int CheckFile(const std::string& path, ScanMode mode);
// The same with the given steps. A separate name keeps CheckFile itself unambiguous where it is
// taken as a function value.
int CheckFileUsing(const std::string& path, ScanMode mode, const CheckFileSteps& steps);

}  // namespace morvane
