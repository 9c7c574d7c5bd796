#include "platform/win32/win32_services.h"

#include "platform/win32/handles.h"

namespace morvane {

namespace {

class Win32Service : public Service {
 public:
  explicit Win32Service(SC_HANDLE service) : service_(service) {}

  bool Stop(uint32_t& state) override {
    SERVICE_STATUS status{};
    const bool sent = ControlService(service_.Get(), SERVICE_CONTROL_STOP, &status) != 0;
    state = status.dwCurrentState;
    return sent;
  }

  bool QueryState(uint32_t& state) override {
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service_.Get(), &status)) return false;
    state = status.dwCurrentState;
    return true;
  }

  bool Delete() override { return DeleteService(service_.Get()) != 0; }

 private:
  win32::ServiceHandle service_;
};

class Win32ServiceManager : public ServiceManager {
 public:
  explicit Win32ServiceManager(SC_HANDLE manager) : manager_(manager) {}

  std::unique_ptr<Service> OpenService(const std::string& name) override {
    SC_HANDLE service = OpenServiceA(manager_.Get(), name.c_str(), SERVICE_ALL_ACCESS);
    if (service == nullptr) return nullptr;
    return std::make_unique<Win32Service>(service);
  }

 private:
  win32::ServiceHandle manager_;
};

}  // namespace

std::unique_ptr<ServiceManager> Win32ServiceControl::OpenManager() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return nullptr;
  return std::make_unique<Win32ServiceManager>(manager);
}

}  // namespace morvane
