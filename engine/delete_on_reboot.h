// Requests that Windows deletes or replaces a file at its next start.
#pragma once

#include <string>

namespace morvane {

// deleteOnly 1: the file is deleted at the next start; 0: it is replaced by its cleaned working
// copy (PathWithKoxEnding). True when the request was recorded, so that the caller only asks
// for a restart when one will actually finish the job.
bool DeleteOnReboot(const std::string& path, int deleteOnly);

}  // namespace morvane
