// The platform services of the running program. The front end installs them once, before any
// thread starts; tests install fakes with ScopedPlatform.
#pragma once

namespace morvane {

class FileSystem;
class System;
class Registry;
class ServiceControl;
class Processes;

struct Platform {
  FileSystem* files = nullptr;
  System* system = nullptr;
  Registry* registry = nullptr;
  ServiceControl* services = nullptr;
  Processes* processes = nullptr;
};

Platform& CurrentPlatform();
inline FileSystem& Files() {
  return *CurrentPlatform().files;
}
inline System& Sys() {
  return *CurrentPlatform().system;
}

// Installs a platform for its lifetime and restores the previous one.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(const Platform& platform);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform saved_;
};

}  // namespace morvane
