#include "platform/win32/win32_services.h"

#include <gtest/gtest.h>

#include "platform/win32/handles.h"
#include "win32/win32_child.h"

namespace morvane {
namespace {

constexpr int kPollMs = 20;
constexpr int kPolls = 500;

// Waits until the service reports `wanted`; the last state seen.
uint32_t WaitForState(Service& service, uint32_t wanted) {
  uint32_t state = 0;
  for (int i = 0; i < kPolls && (!service.QueryState(state) || state != wanted); ++i) {
    Sleep(kPollMs);
  }
  return state;
}

class Win32ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    manager_ = control_.OpenManager();
    ASSERT_NE(manager_, nullptr);
  }

  // Installs and starts the helper program as a service, as a worm would install itself.
  void InstallProbeService() {
    win32::ServiceHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    const std::string command = testing::ProbeCommandLine("service");
    win32::ServiceHandle service(
        CreateServiceA(scm.Get(), name_.c_str(), name_.c_str(), SERVICE_ALL_ACCESS,
                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                       command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(service.Valid()) << GetLastError();
    ASSERT_TRUE(StartServiceA(service.Get(), 0, nullptr)) << GetLastError();
  }

  // A name of its own per run: a deleted service lingers while its process winds down.
  const std::string name_ = "MorvaneProbe" + std::to_string(GetCurrentProcessId());
  Win32ServiceControl control_;
  std::unique_ptr<ServiceManager> manager_;
};

TEST_F(Win32ServicesTest, MissingServiceDoesNotOpen) {
  EXPECT_EQ(manager_->OpenService("MorvaneNoSuchService"), nullptr);
}

TEST_F(Win32ServicesTest, RunningServiceIsStoppedAndDeleted) {
  InstallProbeService();
  auto service = manager_->OpenService(name_);
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(WaitForState(*service, kServiceRunning), kServiceRunning);

  uint32_t state = 0;
  ASSERT_TRUE(service->Stop(state));
  EXPECT_TRUE(state == kServiceStopPending || state == kServiceStopped) << state;
  EXPECT_EQ(WaitForState(*service, kServiceStopped), kServiceStopped);
  EXPECT_FALSE(service->Stop(state)) << "a stopped service takes no stop request";

  EXPECT_TRUE(service->Delete());
  service.reset();
  EXPECT_EQ(manager_->OpenService(name_), nullptr);
}

}  // namespace
}  // namespace morvane
