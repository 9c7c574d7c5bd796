// The service control manager, as the worm service removal uses it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace morvane {

constexpr uint32_t kServiceStopped = 1;
constexpr uint32_t kServiceStopPending = 3;
constexpr uint32_t kServiceRunning = 4;

class Service {
 public:
  virtual ~Service() = default;  // CloseServiceHandle
  // ControlService(SERVICE_CONTROL_STOP); `state` receives the reported current state.
  virtual bool Stop(uint32_t& state) = 0;
  virtual bool QueryState(uint32_t& state) = 0;
  virtual bool Delete() = 0;
};

class ServiceManager {
 public:
  virtual ~ServiceManager() = default;  // CloseServiceHandle
  virtual std::unique_ptr<Service> OpenService(const std::string& name) = 0;
};

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;
  // OpenSCManagerA on the local machine with full access; null on failure.
  virtual std::unique_ptr<ServiceManager> OpenManager() = 0;
};

}  // namespace morvane
