// The cleaning each matched virus name calls for, started by the rule engine in Clean mode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace morvane {

// Cleans the matched file, opened for update. 1: the action is finished and `file` is closed;
// 0: no action applied, `file` stays open and the engine tries its next record. `buffer` is the
// engine's work buffer (kWorkBufferSize bytes) and `size` the file size measured at opening.
int CleanInfectedFile(File& file, const std::string& path, uint64_t size, uint8_t* buffer);

}  // namespace morvane
