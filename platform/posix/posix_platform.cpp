#include "platform/posix/posix_platform.h"

#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/services.h"

namespace morvane {

namespace {

class NoRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> Open(RegRoot, const std::string&, RegAccess, long* error) override {
    if (error) *error = kErrorFileNotFound;
    return nullptr;
  }
};

class NoServices : public ServiceControl {
 public:
  std::unique_ptr<ServiceManager> OpenManager() override { return nullptr; }
};

class NoProcesses : public Processes {
 public:
  bool ListNt(std::vector<ProcessEntry>&) override { return false; }
  bool ListSnapshot(std::vector<ProcessEntry>&) override { return false; }
  EndResult Terminate(uint32_t, uint32_t, uint32_t) override { return EndResult::NotOpened; }
  bool EnableDebugPrivilege(const std::string&, bool) override { return false; }
};

}  // namespace

const Platform& PosixPlatform() {
  static PosixFileSystem files;
  static PosixSystem system;
  static NoRegistry registry;
  static NoServices services;
  static NoProcesses processes;
  static const Platform platform{&files, &system, &registry, &services, &processes};
  return platform;
}

}  // namespace morvane
