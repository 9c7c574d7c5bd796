#include "platform/win32/win32_system.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/win32/windows_api.h"
#include "win32/win32_child.h"

namespace morvane {
namespace {

TEST(Win32SystemTest, ReportsTheNtFamily) {
  EXPECT_EQ(Win32System().PlatformId(), kPlatformNt);
}

// Wine's per-program version setting; GetVersionExA then gives the 9x family's identifier.
TEST(Win32SystemTest, ReportsThe9xFamilyWhereWinePretendsWin98) {
  const std::string key = std::string("Software\\Wine\\AppDefaults\\") + testing::kProbeName;
  HKEY appKey = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &appKey, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(appKey, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
  RegCloseKey(appKey);
  const int platform = testing::RunProbe("");
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  EXPECT_EQ(platform, kPlatformWindows9x);
  EXPECT_EQ(testing::RunProbe(""), kPlatformNt);
}

TEST(Win32SystemTest, RunCommandStartsAProgramAndReportsAMissingOne) {
  EXPECT_GT(Win32System().RunCommand("cmd.exe /c exit", kShowHide), 31u);
  EXPECT_LE(Win32System().RunCommand("morvane-no-such-program.exe", kShowHide), 31u);
}

TEST(Win32SystemTest, SleepWaitsAtLeastTheGivenTime) {
  const auto start = std::chrono::steady_clock::now();
  Win32System().Sleep(50);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

}  // namespace
}  // namespace morvane
