// Requests that Windows deletes or replaces a file at its next start.
#pragma once

#include <string>

namespace morvane {

// deleteOnly 1: the file is deleted at the next start; 0: it is replaced by its cleaned working
// copy (PATH_WITH_KOX_ENDING). True when the request was recorded, so that the caller only asks
// for a restart when one will actually finish the job.
bool DeleteOnReboot(const std::string& path, int deleteOnly);

// The NT family's route: the pending operations of MoveFileExA.
bool ScheduleDeleteNt(const std::string& path, int deleteOnly);
// The 9x family's route: a line in the "[rename]" section of "wininit.ini".
bool ScheduleDeleteWininit(const std::string& path, int deleteOnly);

// What to append to a "wininit.ini" that holds `existing` so that `line` lands in a "[rename]"
// section on a line of its own.
std::string WininitAppendix(const std::string& existing, const std::string& line);

}  // namespace morvane
