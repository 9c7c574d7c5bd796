#include "platform/win32/win32_services.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(Win32ServicesTest, OpensKnownServicesAndNoMissingOne) {
  auto manager = Win32ServiceControl().OpenManager();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->OpenService("MorvaneNoSuchService"), nullptr);
  // Wine's plug-and-play service runs in every booted prefix.
  auto service = manager->OpenService("PlugPlay");
  ASSERT_NE(service, nullptr);
  uint32_t state = 0;
  ASSERT_TRUE(service->QueryState(state));
  EXPECT_EQ(state, kServiceRunning);
}

}  // namespace
}  // namespace morvane
