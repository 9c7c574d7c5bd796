#include "engine/registry_repair.h"

namespace morvane {

// The registry walk arrives with the cleaning actions; until then nothing is removed.
void RepairInfectionRegistry(const std::string&) {}

}  // namespace morvane
