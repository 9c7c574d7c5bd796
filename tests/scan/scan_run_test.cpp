#include "scan/scan_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/main_view.h"
#include "platform/posix/posix_file_system.h"
#include "scan/scan_fixture.h"

namespace morvane::testing {
namespace {

using Log = std::vector<std::string>;

// The log without what the worker adds on its own thread.
Log RunLog(const FakeView& view) {
  Log steps;
  for (const std::string& entry : view.Log()) {
    const bool fileCount = entry.rfind("text 1007 ", 0) == 0 && entry != "text 1007 0";
    if (entry.rfind("message ", 0) == 0 || fileCount) continue;
    steps.push_back(entry);
  }
  return steps;
}

void AwaitWorker(const ScanRun& run) {
  while (run.WorkersActive()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

Log Repeat(const std::string& entry, int times) {
  return Log(static_cast<size_t>(times), entry);
}

Log Concat(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Log kResetSteps = {"delete rows", "read scan path",  "text 1007 0",      "text 1008 0",
                         "text 1010 0", "write scan path", "clear process box"};
const Log kImmunisation = {"run 0 QuorvexSvc.exe -i", "sleep 1000",
                           "run 0 net.exe start QuorvexSvc"};

class ScanRunTest : public ScanFixture {
 protected:
  ScanRunTest() { view.comboText = Root(); }
};

TEST_F(ScanRunTest, ScanRunsItsStepsInOrder) {
  ScanRunState.stopRequested.store(1);
  ScanRunState.startupCheckNeeded.store(1);
  ScanRunState.rebootNeeded.store(1);
  ScanRun run(view, Steps());
  run.OnScan();
  AwaitWorker(run);
  EXPECT_EQ(RunLog(view), Concat({kResetSteps, Repeat("memory scan", 10), kImmunisation}));
  EXPECT_EQ(ScanRunState.Mode(), Detect);
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 0);
  EXPECT_EQ(view.Messages(), Log{"查杀完毕！"});
}

TEST_F(ScanRunTest, ScanChecksStartupValuesWhenTheMemoryScanMetAWorm) {
  RunSteps steps = Steps();
  steps.scanMemory = [this](MainView&) {
    view.Note("memory scan");
    ScanRunState.startupCheckNeeded.store(1);
  };
  ScanRun run(view, steps);
  run.OnScan();
  AwaitWorker(run);
  EXPECT_EQ(
      RunLog(view),
      Concat({kResetSteps, Repeat("memory scan", 10), {"check startup values 0"}, kImmunisation}));
}

TEST_F(ScanRunTest, CleanRunsItsStepsInOrder) {
  ScanRun run(view, Steps());
  run.OnClean();
  AwaitWorker(run);
  EXPECT_EQ(RunLog(view),
            Concat({kResetSteps,
                    Repeat("memory scan", 9),
                    {"clean startup values", "remove service RpcTftpd", "remove service RpcPatch"},
                    kImmunisation}));
  EXPECT_EQ(ScanRunState.Mode(), Clean);
}

TEST_F(ScanRunTest, ModeIsSetBeforeTheMemoryScan) {
  std::vector<int> modes;
  RunSteps steps = Steps();
  steps.scanMemory = [&](MainView&) { modes.push_back(ScanRunState.mode.load()); };
  ScanRun run(view, steps);
  run.OnClean();
  AwaitWorker(run);
  EXPECT_EQ(modes, std::vector<int>(9, Clean));
}

TEST_F(ScanRunTest, WorkerWalksTheScanPathAndCountsEveryFile) {
  for (const char* name : {"a.exe", "b/c.dll", "b/d/e.txt"}) dir.Write(name);
  engine.Answer("c.dll", Detect, 1);
  ScanRun run(view, Steps());
  run.OnScan();
  AwaitWorker(run);
  EXPECT_EQ(view.Text(kIdFilesCounter), "3");
  EXPECT_EQ(view.Text(kIdVirusCounter), "1");
  ASSERT_EQ(view.Rows().size(), 1u);
  EXPECT_EQ(view.Rows()[0][0], Root() + "\\b\\c.dll");
}

TEST_F(ScanRunTest, RebootNeededChangesTheCompletionMessage) {
  dir.Write("a.exe");
  RunSteps steps = Steps();
  steps.checkFile = [](const std::string&, ScanMode) {
    ScanRunState.rebootNeeded.store(1);
    return 0;
  };
  ScanRun run(view, steps);
  run.OnClean();
  AwaitWorker(run);
  EXPECT_EQ(view.Messages(), Log{"如果要彻底清除病毒，请重新启动计算机"});
}

TEST_F(ScanRunTest, StopDuringTheWalkShowsNoMessage) {
  for (int i = 0; i < 50; ++i) dir.Write("f" + std::to_string(i));
  ScanRun run(view, Steps());
  view.onStatus = [&](const std::string&) { run.OnStop(); };
  run.OnScan();
  AwaitWorker(run);
  EXPECT_TRUE(view.Messages().empty());
  EXPECT_EQ(ScanRunState.filesScanned.load(), 1);
  EXPECT_EQ(ScanRunState.stopRequested.load(), 1);
}

TEST_F(ScanRunTest, SecondPressDuringAWalkStartsNoSecondWalk) {
  dir.Write("only.exe");
  std::atomic<bool> release{false};
  std::atomic<int> walks{0};
  view.onStatus = [&](const std::string&) {
    ++walks;
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  ScanRun run(view, Steps());
  run.OnScan();
  while (walks == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  run.OnClean();
  // The second worker gives up at once, while the first still walks.
  while (run.ActiveWorkers() > 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  release = true;
  AwaitWorker(run);
  EXPECT_EQ(walks.load(), 1);
  EXPECT_EQ(view.Messages(), Log{"查杀完毕！"});
}

TEST_F(ScanRunTest, ClearListKeepsTheCounters) {
  ScanRunState.virusesFound.store(5);
  ScanRunState.rowCount.store(5);
  ScanRun run(view, Steps());
  run.OnClearList();
  EXPECT_EQ(ScanRunState.rowCount.load(), 0);
  EXPECT_EQ(ScanRunState.virusesFound.load(), 5);
  EXPECT_EQ(view.Log(), Log{"delete rows"});
}

TEST_F(ScanRunTest, ExitDuringAWalkStopsAndAwaitsTheWorkerBeforeClosing) {
  for (int i = 0; i < 200; ++i) dir.Write("f" + std::to_string(i));
  ScanRun run(view, Steps());
  std::atomic<bool> walking{false};
  view.onStatus = [&](const std::string&) {
    walking = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };
  run.OnScan();
  while (!walking) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  run.OnExit();
  EXPECT_FALSE(run.WorkersActive());
  EXPECT_TRUE(view.closed());
  EXPECT_EQ(view.Log().back(), "close");
  EXPECT_LT(ScanRunState.filesScanned.load(), 200);
  const Log calls = system.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "sleep 500"), 1);
}

TEST_F(ScanRunTest, CancelStopsTheWorkerWithoutThePause) {
  ScanRun run(view, Steps());
  run.OnCancel();
  EXPECT_TRUE(view.closed());
  EXPECT_TRUE(system.Calls().empty());
}

// A file system whose drives are scripted and whose searches are only recorded.
class DriveFileSystem : public PosixFileSystem {
 public:
  int GetDriveType(const std::string& root) override {
    static const std::map<char, int> kTypes = {{'C', kDriveFixed},     {'D', kDriveRamdisk},
                                               {'E', kDriveRemovable}, {'F', kDriveRemote},
                                               {'G', kDriveCdrom},     {'Z', kDriveFixed}};
    const auto it = kTypes.find(root[0]);
    return it == kTypes.end() ? kDriveNoRootDir : it->second;
  }
  std::unique_ptr<DirSearch> FindFirst(const std::string& pattern, DirEntry&) override {
    std::lock_guard<std::mutex> lock(mutex);
    patterns.push_back(pattern);
    return nullptr;
  }
  std::mutex mutex;
  std::vector<std::string> patterns;
};

TEST_F(ScanRunTest, AllDrivesEntryWalksFixedDrivesAndRamDisksInOrder) {
  DriveFileSystem drives;
  Platform platform = CurrentPlatform();
  platform.files = &drives;
  ScopedPlatform scoped(platform);
  view.comboText = ALL_LOCAL_DRIVES;
  ScanRun run(view, Steps());
  run.OnScan();
  AwaitWorker(run);
  EXPECT_EQ(drives.patterns, (Log{"C:\\*.*", "D:\\*.*", "Z:\\*.*"}));
}

TEST_F(ScanRunTest, AllDrivesTextWrittenOtherwiseIsAFolderPath) {
  DriveFileSystem drives;
  Platform platform = CurrentPlatform();
  platform.files = &drives;
  ScopedPlatform scoped(platform);
  view.comboText = std::string(ALL_LOCAL_DRIVES) + " ";
  ScanRun run(view, Steps());
  run.OnScan();
  AwaitWorker(run);
  EXPECT_EQ(drives.patterns, (Log{std::string(ALL_LOCAL_DRIVES) + " \\*.*"}));
}

TEST_F(ScanRunTest, EmptyScanPathSearchesTheCurrentDriveRoot) {
  DriveFileSystem drives;
  Platform platform = CurrentPlatform();
  platform.files = &drives;
  ScopedPlatform scoped(platform);
  view.comboText = "";
  ScanRun run(view, Steps());
  run.OnScan();
  AwaitWorker(run);
  EXPECT_EQ(drives.patterns, (Log{"\\*.*"}));
  EXPECT_EQ(view.Messages(), Log{"查杀完毕！"});
}

TEST(ImmunisationCommand, StartsNetFromTheSystemFolder) {
  EXPECT_EQ(ScanRun::ImmunisationStartCommand("C:\\WINDOWS\\system32"),
            "C:\\WINDOWS\\system32\\net.exe start QuorvexSvc");
  EXPECT_EQ(ScanRun::ImmunisationStartCommand("C:\\"), "C:\\net.exe start QuorvexSvc");
  EXPECT_EQ(ScanRun::ImmunisationStartCommand(""), "net.exe start QuorvexSvc");
}

}  // namespace
}  // namespace morvane::testing
