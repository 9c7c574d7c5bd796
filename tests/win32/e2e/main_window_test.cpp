// The Windows program end to end: a real morvane.exe under Wine, driven through its window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/signatures.h"
#include "platform/main_view.h"
#include "tests/engine/pe_fixtures.h"
#include "win32/e2e/program_driver.h"
#include "win32/win32_test_dir.h"

namespace morvane {
namespace {

constexpr DWORD kStartMs = 30000;
constexpr DWORD kRunMs = 60000;
constexpr DWORD kExitMs = 10000;
constexpr DWORD kQuietMs = 3000;
constexpr DWORD kWorkerEndMs = 100;

constexpr int kIdMessageText = 0xFFFF;

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.Started());
    ASSERT_NE(program_.WaitForMainWindow(kStartMs), nullptr) << "no main window";
  }

  void ExpectExitWithin(DWORD timeoutMs) {
    DWORD exitCode = 1;
    ASSERT_TRUE(program_.WaitForExit(timeoutMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
  }

  testing::ProgramDriver program_;
};

TEST_F(ProgramTest, OpensOnAllDrivesWithZeroCountersAndAnEmptyList) {
  EXPECT_EQ(program_.ControlText(kIdScanPath), "所有本机硬盘驱动器");
  for (int id : {kIdFilesCounter, kIdVirusCounter, kIdCleanedCounter})
    EXPECT_EQ(program_.ControlText(id), "0") << id;
  EXPECT_EQ(program_.ControlText(kIdStatusLine), "");
  EXPECT_EQ(program_.ListRowCount(), 0);
}

TEST_F(ProgramTest, ResultsListHasFlatScrollBarsAndItsThreeColumns) {
  EXPECT_EQ(program_.ListExtendedStyle(), 0x100u) << "LVS_EX_FLATSB alone";
  const std::pair<const char*, int> columns[] = {
      {"文件路径", 300}, {"病毒名", 120}, {"处理结果", 120}};
  for (int i = 0; i < 3; ++i) {
    const auto column = program_.ListColumn(i);
    EXPECT_EQ(column.header, columns[i].first) << i;
    EXPECT_EQ(column.width, columns[i].second) << i;
  }
  EXPECT_EQ(program_.ListColumn(3).header, "") << "no fourth column";
}

// Scan, then Clean: each run counts the folder's files from zero and ends with the same box.
TEST_F(ProgramTest, RunsOfAFolderCountEveryFileAndTellWhenTheyAreDone) {
  testing::Win32TestDir folder;
  constexpr int kFiles = 12;
  CreateDirectoryA((folder / "子目录").c_str(), nullptr);
  for (int i = 0; i < kFiles; ++i) {
    folder.Write((i % 2 ? "子目录\\" : "") + std::string("file") + std::to_string(i) + ".txt");
  }
  program_.SetControlText(kIdScanPath, folder.path());
  for (int button : {kIdScan, kIdClean}) {
    program_.Press(button);
    const HWND box = program_.WaitForMessageBox(kRunMs);
    ASSERT_NE(box, nullptr) << "no completion message after " << button;
    EXPECT_EQ(testing::ProgramDriver::Text(GetDlgItem(box, kIdMessageText)), "查杀完毕！");
    EXPECT_EQ(program_.ControlText(kIdFilesCounter), std::to_string(kFiles)) << button;
    EXPECT_EQ(program_.ControlText(kIdVirusCounter), "0");
    EXPECT_EQ(program_.ControlText(kIdStatusLine).rfind(folder.path(), 0), 0u)
        << "the status line shows the last file walked";
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    // The worker ends just after its box closes; a run pressed before that walks nothing.
    ASSERT_TRUE(program_.WaitForNoMessageBox(kExitMs));
    Sleep(kWorkerEndMs);
  }
  program_.Press(kIdExit);
  ExpectExitWithin(kExitMs);
}

// Files as the walk counts them: every file below `folder`, but none named like "a.~ak", and
// nothing in folders whose names begin with a dot.
int CountWalkedFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    const std::string name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name[0] != '.') count += CountWalkedFiles(folder + name + "\\");
    } else if (name.size() < 3 || name[name.size() - 3] != '~') {
      ++count;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// The test prefix has a fixed disk C:, a RAM disk R:, a CD-ROM S: and a network drive T:; the
// all-drives entry walks the first two only.
TEST_F(ProgramTest, AllDrivesEntryWalksTheFixedDiskAndTheRamDisk) {
  program_.Press(kIdScan);
  const HWND box = program_.WaitForMessageBox(kRunMs);
  ASSERT_NE(box, nullptr) << "no completion message";
  const int ramDisk = CountWalkedFiles("R:\\");
  ASSERT_GT(ramDisk, 0);
  EXPECT_EQ(program_.ControlText(kIdFilesCounter),
            std::to_string(CountWalkedFiles("C:\\") + ramDisk));
  EXPECT_EQ(program_.ControlText(kIdStatusLine).rfind("R:\\", 0), 0u) << "R: comes last";
  PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// The click is handled once the Scan press has launched its commands, so the walk has begun.
TEST_F(ProgramTest, StopEndsTheWalkWithoutTheCompletionMessage) {
  program_.Press(kIdScan);
  program_.Press(kIdStop);
  EXPECT_EQ(program_.WaitForMessageBox(kQuietMs), nullptr);
  program_.Press(kIdExit);
  ExpectExitWithin(kExitMs);
}

// The worker waits in a sent message while Exit pauses; the window must keep answering it until
// the worker has seen the stop, or the two threads wait for each other for ever.
TEST_F(ProgramTest, ExitDuringAWalkStopsItAndEnds) {
  program_.Press(kIdScan);
  program_.Press(kIdExit);
  ExpectExitWithin(kExitMs);
  EXPECT_EQ(program_.WaitForMessageBox(0), nullptr);
}

TEST_F(ProgramTest, CloseBoxEndsTheProgram) {
  PostMessageA(program_.WaitForMainWindow(0), WM_CLOSE, 0, 0);
  ExpectExitWithin(kExitMs);
}

// Generated files with the ransomware's signature bytes: Scan lists them, Clean leaves a folder
// of each one's name, and the ransom-note picture goes in both.
TEST_F(ProgramTest, InfectedFilesBecomeRowsAndCleanRemovesThem) {
  testing::Win32TestDir folder;
  const std::string virus = testing::Render(testing::MatchingLayout(BuiltInSignatures()[1]));
  folder.Write("tasksche.exe", virus);
  CreateDirectoryA((folder / "病毒").c_str(), nullptr);
  folder.Write("病毒\\样本.exe", virus);
  folder.Write("readme.txt", "plain");
  folder.Write("@WanaDecryptor@.bmp", "note");
  program_.SetControlText(kIdScanPath, folder.path());

  program_.Press(kIdScan);
  HWND box = program_.WaitForMessageBox(kRunMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(program_.ControlText(kIdVirusCounter), "2");
  ASSERT_EQ(program_.ListRowCount(), 2);
  std::vector<std::string> paths;
  for (int row = 0; row < 2; ++row) {
    paths.push_back(program_.ListCell(row, 0));
    EXPECT_EQ(program_.ListCell(row, 1), "ransom.wanacry.a");
    EXPECT_EQ(program_.ListCell(row, 2), "发现病毒");
  }
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{folder / "tasksche.exe", folder / "病毒\\样本.exe"}));
  EXPECT_EQ(GetFileAttributesA((folder / "@WanaDecryptor@.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
  PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(program_.WaitForNoMessageBox(kQuietMs));

  program_.Press(kIdClean);
  box = program_.WaitForMessageBox(kRunMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(program_.ControlText(kIdCleanedCounter), "2");
  EXPECT_EQ(program_.ListCell(0, 2), "清除病毒");
  for (const std::string& path : paths) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << path;
  }
  EXPECT_EQ(GetFileAttributesA((folder / "readme.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// The program as Windows 98 sees it: a file it cannot clean in place is removed at the next
// start through a "wininit.ini" line, which the program only writes when it took the platform
// to be the 9x family at start-up.
TEST(Windows98Program, InUseFileIsScheduledThroughWininit) {
  constexpr char kAppKey[] = "Software\\Wine\\AppDefaults\\morvane.exe";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kAppKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
  RegCloseKey(key);
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string wininit = std::string(windows) + "\\wininit.ini";
  DeleteFileA(wininit.c_str());

  testing::Win32TestDir folder;
  const std::string infected =
      folder.Write("inuse.exe", testing::Render(testing::MatchingLayout(BuiltInSignatures()[1])));
  // Held open without write sharing, as a running program holds its file.
  HANDLE holder = CreateFileA(infected.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  {
    testing::ProgramDriver program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMainWindow(kStartMs), nullptr);
    program.SetControlText(kIdScanPath, folder.path());
    program.Press(kIdClean);
    const HWND box = program.WaitForMessageBox(kRunMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(testing::ProgramDriver::Text(GetDlgItem(box, kIdMessageText)),
              "如果要彻底清除病毒，请重新启动计算机");
    EXPECT_EQ(program.ListCell(0, 2), "清除病毒");
  }
  CloseHandle(holder);
  RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey);

  HANDLE file = CreateFileA(wininit.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "no wininit.ini written";
  char text[1024] = {};
  DWORD got = 0;
  ReadFile(file, text, sizeof text - 1, &got, nullptr);
  CloseHandle(file);
  DeleteFileA(wininit.c_str());
  EXPECT_EQ(std::string(text, got), "[rename]\r\nNUL=" + infected + "\r\n");
}

}  // namespace
}  // namespace morvane
