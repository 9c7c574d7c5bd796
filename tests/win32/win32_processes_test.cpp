#include "platform/win32/win32_processes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/windows_api.h"
#include "win32/win32_child.h"

namespace morvane {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

const ProcessEntry* Find(const std::vector<ProcessEntry>& list, uint32_t processId) {
  const auto found = std::find_if(list.begin(), list.end(), [processId](const auto& entry) {
    return entry.processId == processId;
  });
  return found == list.end() ? nullptr : &*found;
}

TEST(Win32ProcessesTest, BothListingsHoldThisProcessWithItsFullPath) {
  Win32Processes processes;
  for (bool nt : {true, false}) {
    std::vector<ProcessEntry> list;
    ASSERT_TRUE(nt ? processes.ListNt(list) : processes.ListSnapshot(list)) << nt;
    const ProcessEntry* self = Find(list, GetCurrentProcessId());
    ASSERT_NE(self, nullptr) << nt;
    EXPECT_EQ(self->baseName, "morvane_tests.exe") << nt;
    EXPECT_TRUE(EndsWith(self->path, "\\morvane_tests.exe")) << self->path;
    EXPECT_NE(self->path.find(':'), std::string::npos) << self->path;
  }
}

TEST(Win32ProcessesTest, TerminateEndsAProcessWithTheGivenExitCode) {
  DWORD processId = 0;
  HANDLE child = testing::StartProbe("wait", &processId);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Win32Processes().Terminate(processId, PROCESS_TERMINATE, 77), EndResult::Ended);
  EXPECT_EQ(WaitForSingleObject(child, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(child, &code);
  CloseHandle(child);
  EXPECT_EQ(code, 77u);
  EXPECT_EQ(Win32Processes().Terminate(0xFFFFFFF0, PROCESS_TERMINATE, 0), EndResult::NotOpened);
}

TEST(Win32ProcessesTest, DebugPrivilegeCanBeEnabledButNoUnknownPrivilege) {
  Win32Processes processes;
  EXPECT_TRUE(processes.EnableDebugPrivilege("SeDebugPrivilege", true));
  EXPECT_TRUE(processes.EnableDebugPrivilege("SeDebugPrivilege", false));
  EXPECT_FALSE(processes.EnableDebugPrivilege("SeNoSuchPrivilege", true));
}

}  // namespace
}  // namespace morvane
