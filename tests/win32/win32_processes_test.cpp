#include "platform/win32/win32_processes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/handles.h"
#include "platform/win32/windows_api.h"
#include "win32/win32_child.h"
#include "win32/win32_test_dir.h"

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

// A worm's file name in code page 936 comes back as the same bytes from both listings.
TEST(Win32ProcessesTest, ListingsGiveTheGbkPathOfAProgram) {
  testing::Win32TestDir dir;
  const std::string program = dir / "病毒样本.exe";
  ASSERT_TRUE(CopyFileA((testing::ProgramFolder() + "\\" + testing::kProbeName).c_str(),
                        program.c_str(), TRUE));
  std::string commandLine = "\"" + program + "\" wait";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &child));
  win32::KernelHandle process(child.hProcess), thread(child.hThread);
  WaitForInputIdle(process.Get(), 1000);

  Win32Processes processes;
  std::vector<ProcessEntry> nt, snapshot;
  ASSERT_TRUE(processes.ListNt(nt));
  ASSERT_TRUE(processes.ListSnapshot(snapshot));
  for (const auto* list : {&nt, &snapshot}) {
    const ProcessEntry* entry = Find(*list, child.dwProcessId);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->baseName, "病毒样本.exe");
    EXPECT_EQ(lstrcmpiA(entry->path.c_str(), program.c_str()), 0) << entry->path;
  }
  TerminateProcess(process.Get(), 0);
  WaitForSingleObject(process.Get(), 5000);
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
