#include "platform/platform.h"

namespace morvane {

Platform& CurrentPlatform() {
  static Platform platform;
  return platform;
}

ScopedPlatform::ScopedPlatform(const Platform& platform) : saved_(CurrentPlatform()) {
  CurrentPlatform() = platform;
}

ScopedPlatform::~ScopedPlatform() {
  CurrentPlatform() = saved_;
}

}  // namespace morvane
