// The cleaning each matched virus name calls for, started by the rule engine in Clean mode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace morvane {

// Blocks in which a buried host program is moved to the front of its file.
constexpr uint32_t kShiftBlockSize = 61440;

// Cleans the matched file, opened for update. 1: the action is finished and `file` is closed;
// 0: no action applied, `file` stays open and the engine tries its next record. `buffer` is the
// engine's work buffer (kWorkBufferSize bytes) and `size` the file size measured at opening.
int CleanInfectedFile(File& file, const std::string& path, uint64_t size, uint8_t* buffer);

// Moves the bytes from `from` to the end down to position 0 and cuts the file to size - from.
// Requires size > from; false when a read, write or the cut fails.
bool ShiftHostToFront(File& file, uint8_t* buffer, uint64_t size, uint64_t from);

// The drive part of a path ("C:" for "C:\a\b.exe"), empty for a path without a drive letter.
std::string DrivePart(const std::string& path);

}  // namespace morvane
