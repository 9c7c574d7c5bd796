#include "engine/check_file.h"

#include "engine/delete_on_reboot.h"
#include "engine/kox_path.h"
#include "engine/virus_rules.h"
#include "platform/platform.h"

namespace morvane {

namespace {

// True when every pass was used up: the file still stands and still reports infected or
// unopenable.
bool SurvivesCleaning(const std::string& path, const CheckFileSteps& steps, ScanMode mode) {
  for (int pass = 0; pass < MAX_CLEAN_PASSES; ++pass) {
    const int result = steps.applyRules(path, mode);
    if (!Files().Exists(path) || result == 0) return false;
  }
  return true;
}

// Cleans a copy of a file that could not be cleaned in place and asks for the swap (or, when
// the cleaning removed the copy, the deletion) at the next start. True when that was recorded.
bool CleanWorkingCopy(const std::string& path, const CheckFileSteps& steps) {
  const std::string copy = PATH_WITH_KOX_ENDING(path);
  if (copy.empty() || !Files().Copy(path, copy, false)) return false;
  if (steps.applyRules(copy, Clean) <= 0) return false;
  const bool copyLeft = Files().Open(copy, OpenMode::ReadText) != nullptr;
  if (!steps.deleteOnReboot(path, copyLeft ? 0 : 1)) return false;
  ScanRunState.rebootNeeded.store(1);
  return true;
}

// The ransomware's cleaning leaves a folder of the file's name where the file was.
bool FolderStandsThere(const std::string& path) {
  const uint32_t attributes = Files().GetAttributes(path);
  return attributes != kInvalidAttributes && (attributes & kAttrDirectory) != 0;
}

}  // namespace

const CheckFileSteps& CheckFileSteps::Real() {
  static const CheckFileSteps steps{
      [](const std::string& path, int mode) { return ApplyVirusRules(path, mode); },
      DeleteOnReboot};
  return steps;
}

CheckFileSteps CheckFileSteps::WithTable(const SignatureTable& table) {
  return CheckFileSteps{
      [&table](const std::string& path, int mode) { return ApplyVirusRules(path, mode, table); },
      DeleteOnReboot};
}

int CheckFile(const std::string& path, ScanMode mode) {
  return CheckFileUsing(path, mode, CheckFileSteps::Real());
}

int CheckFileUsing(const std::string& path, ScanMode mode, const CheckFileSteps& steps) {
  if (path.empty()) return 0;
  const int first = steps.applyRules(path, Detect);
  if (mode == Detect || first == 0) return first;
  // The engine cannot open such a path at all, nor its working copy of the same length: passes
  // and a copy would only leave a stray file behind.
  if (path.size() > kMaxEnginePath) return first;
  if (!SurvivesCleaning(path, steps, mode)) return first;
  // A file that stays infected with nothing recorded for the next start was not cleaned, and
  // must be reported as such rather than as removed.
  const bool recorded = CleanWorkingCopy(path, steps);
  if (recorded || FolderStandsThere(path) || first < 0) return first;
  return 0;
}

}  // namespace morvane
