#include "engine/kox_path.h"

namespace morvane {

namespace {
constexpr char kKoxEnding[] = "KOX";
constexpr size_t kKoxLength = sizeof(kKoxEnding) - 1;
}  // namespace

std::string PATH_WITH_KOX_ENDING(const std::string& path) {
  if (path.size() < kKoxLength) return {};
  std::string copy = path;
  copy.replace(copy.size() - kKoxLength, kKoxLength, kKoxEnding);
  return copy;
}

}  // namespace morvane
