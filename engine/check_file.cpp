#include "engine/check_file.h"

namespace morvane {

// The rule engine joins here; until then no file is a virus.
int CheckFile(const std::string& path, ScanMode) {
  return path.empty() ? 0 : 0;
}

}  // namespace morvane
