// Stopping and deleting a worm service.
#pragma once

#include <string>

namespace morvane {

// 1 when the service was deleted, 0 otherwise.
int StopAndDeleteService(const std::string& name);

}  // namespace morvane
