#include "engine/delete_on_reboot.h"

namespace morvane {

// The wininit.ini and MoveFileExA routes arrive with the cleaning actions; until then nothing
// is recorded.
bool DeleteOnReboot(const std::string&, int) {
  return false;
}

}  // namespace morvane
