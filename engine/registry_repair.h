// Removal of the autostart values and services that would start an infected file again.
#pragma once

#include <string>

namespace morvane {

// Called by the rule engine in Clean mode, before the file is cleaned. No result.
void RepairInfectionRegistry(const std::string& path);

}  // namespace morvane
