// The engine's lasting effects on a real system: registry repair against Wine's registry, and
// requests for the next start carried out by a simulated restart (wineboot -r), on both routes.
#include <gtest/gtest.h>

#include <string>

#include "app/run_state.h"
#include "engine/check_file.h"
#include "engine/delete_on_reboot.h"
#include "engine/kox_path.h"
#include "engine/registry_repair.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "tests/engine/pe_fixtures.h"
#include "win32/win32_test_dir.h"

namespace morvane {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\MorvaneWormTest";

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetText(HKEY root, const char* subkey, const char* name, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

bool HasValue(HKEY root, const char* subkey, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  const bool found = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == 0;
  RegCloseKey(key);
  return found;
}

bool HasKey(HKEY root, const char* subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// What a restart does with the pending requests, in the running Wine server.
void SimulateRestart() {
  char command[] = "wineboot.exe -r";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

class EngineOnWineTest : public ::testing::Test {
 protected:
  EngineOnWineTest() : platform_(Win32Platform()) {
    ScanRunState.Reset();
    isWin9x.store(0);
  }
  ~EngineOnWineTest() override {
    ScanRunState.Reset();
    isWin9x.store(0);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "MorvaneWorm");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kServiceKey);
  }

  testing::Win32TestDir dir;

 private:
  ScopedPlatform platform_;
};

TEST_F(EngineOnWineTest, RegistryRepairRemovesTheWormsEntriesOnly) {
  const std::string infected = dir / "mssecsvc.exe";
  HKEY run = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &run, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(run);
  SetText(HKEY_CURRENT_USER, kRunKey, "MorvaneWorm", infected + " -m security");
  SetText(HKEY_CURRENT_USER, kRunKey, "MorvaneKeep", dir / "other.exe");
  SetText(HKEY_LOCAL_MACHINE, kServiceKey, "ImagePath", "\"" + infected + "\" -k");
  SetText(HKEY_LOCAL_MACHINE, (std::string(kServiceKey) + "\\Parameters").c_str(), "x", "y");

  RepairInfectionRegistry(infected);

  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRunKey, "MorvaneWorm"));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRunKey, "MorvaneKeep"));
  EXPECT_FALSE(HasKey(HKEY_LOCAL_MACHINE, kServiceKey));
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "MorvaneKeep");
}

struct RouteCase {
  const char* name;
  int win9x;
};

class RebootRouteTest : public EngineOnWineTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(RebootRouteTest, RestartDeletesAndReplacesAsRequested) {
  isWin9x.store(GetParam().win9x);
  const std::string doomed = dir.Write("doomed.exe", "all virus");
  const std::string host = dir.Write("host.exe", "infected host");
  dir.Write("host.KOX", "cleaned host");
  ASSERT_TRUE(DeleteOnReboot(doomed, 1));
  ASSERT_TRUE(DeleteOnReboot(host, 0));
  // Nothing happens before the restart.
  EXPECT_TRUE(Exists(doomed));
  EXPECT_EQ(dir.Read("host.exe"), "infected host");

  SimulateRestart();

  EXPECT_FALSE(Exists(doomed));
  EXPECT_EQ(dir.Read("host.exe"), "cleaned host");
  EXPECT_FALSE(Exists(dir / "host.KOX"));
}

INSTANTIATE_TEST_SUITE_P(Routes, RebootRouteTest,
                         ::testing::Values(RouteCase{"MoveFileEx", 0}, RouteCase{"Wininit", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file whose last section is not "[rename]" and whose last line has no line end: the request
// still lands in a "[rename]" section of its own and is carried out.
TEST_F(EngineOnWineTest, WininitWithAnotherLastSectionStillWorks) {
  isWin9x.store(1);
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string wininit = std::string(windows) + "\\wininit.ini";
  HANDLE file = CreateFileA(wininit.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const char text[] = "[other]\r\nkey=value";
  DWORD written = 0;
  WriteFile(file, text, sizeof text - 1, &written, nullptr);
  CloseHandle(file);
  const std::string doomed = dir.Write("doomed.exe", "all virus");
  ASSERT_TRUE(DeleteOnReboot(doomed, 1));
  SimulateRestart();
  EXPECT_FALSE(Exists(doomed));
  DeleteFileA(wininit.c_str());
  DeleteFileA((std::string(windows) + "\\wininit.bak").c_str());
}

// A ransomware file held open by a running program: it cannot be cleaned in place, so it is
// scheduled for deletion, the user is asked to restart, and the restart removes it.
TEST_F(EngineOnWineTest, FileInUseIsRemovedAtTheNextStart) {
  const std::string infected =
      dir.Write("inuse.exe", testing::Render(testing::MatchingLayout(BuiltInSignatures()[1])));
  HANDLE holder = CreateFileA(infected.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CheckFile(infected, Clean), 1);
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 1);
  EXPECT_TRUE(Exists(infected));
  CloseHandle(holder);

  SimulateRestart();

  EXPECT_FALSE(Exists(infected));
  // The cleaned working copy of the ransomware is a folder: nothing to swap in.
  EXPECT_TRUE(IsFolder(PATH_WITH_KOX_ENDING(infected)));
}

}  // namespace
}  // namespace morvane
