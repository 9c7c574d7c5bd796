// The rule engine: decides whether one file is infected and, in Clean mode, starts its cleaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/run_state.h"
#include "engine/signatures.h"
#include "platform/file_system.h"

namespace morvane {

// The engine's path buffers are MAX_PATH (260) bytes with the terminating zero.
constexpr size_t kMaxEnginePath = 259;

// What a Clean-mode match calls; replaceable so tests can script the actions.
struct CleaningSteps {
  std::function<void(const std::string& path)> repairRegistry;
  // As CleanInfectedFile: 1 finished (file closed), 0 go on with the next record.
  std::function<int(File& file, const std::string& path, uint64_t size, uint8_t* buffer)> cleanFile;

  // RepairInfectionRegistry and CleanInfectedFile.
  static const CleaningSteps& Real();
};

// 1: a record matched (LastVirusName holds its name; in Clean mode the registry repair and the
// cleaning ran); 0: no match, a ransom-note picture deleted, a stop requested, or not a PE file;
// -1: the file could not be opened, or its path does not fit the engine's buffers. Any non-zero
// mode opens the file for update; only Clean cleans.
int ApplyVirusRules(const std::string& path, int mode,
                    const SignatureTable& table = BuiltInSignatures(),
                    const CleaningSteps& cleaning = CleaningSteps::Real());

}  // namespace morvane
