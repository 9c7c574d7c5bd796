#include "engine/cleaning_actions.h"

namespace morvane {

// Until the actions arrive a match is finished by closing the file and leaving it in place, so
// the file check entry sees it survive its passes and falls back to the working copy.
int CleanInfectedFile(File& file, const std::string&, uint64_t, uint8_t*) {
  file.Close();
  return 1;
}

}  // namespace morvane
