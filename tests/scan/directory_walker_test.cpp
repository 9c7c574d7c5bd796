#include "scan/directory_walker.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/main_view.h"
#include "scan/scan_fixture.h"

namespace morvane::testing {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> items) {
  std::sort(items.begin(), items.end());
  return items;
}

struct TreeCase {
  const char* name;
  std::vector<std::string> files;    // created, relative to the root
  std::vector<std::string> checked;  // names the engine is asked about, in Detect mode
};

class WalkTreeTest : public ScanFixture, public ::testing::WithParamInterface<TreeCase> {};

TEST_P(WalkTreeTest, ChecksExactlyTheFilesItShould) {
  for (const std::string& file : GetParam().files) {
    if (file.back() == '/') {
      dir.MakeDir(file);
    } else {
      dir.Write(file);
    }
  }
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);

  std::vector<std::string> expected;
  for (const std::string& name : GetParam().checked) expected.push_back("0 " + name);
  EXPECT_EQ(Sorted(engine.Calls()), Sorted(expected));
  EXPECT_EQ(ScanRunState.filesScanned.load(), static_cast<int>(expected.size()));
  EXPECT_EQ(view.Text(kIdFilesCounter), expected.empty() ? "" : std::to_string(expected.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Trees, WalkTreeTest,
    ::testing::Values(TreeCase{"EmptyFolder", {}, {}},
                      TreeCase{"OnlyEmptySubfolders", {"a/", "b/c/"}, {}},
                      TreeCase{"NestedFiles",
                               {"top.exe", "a/b/deep.dll", "a/mid.txt"},
                               {"top.exe", "deep.dll", "mid.txt"}},
                      TreeCase{
                          "DotFolderNotEntered", {".cache/hidden.exe", "keep.exe"}, {"keep.exe"}},
                      TreeCase{"DotFileChecked", {".profile"}, {".profile"}},
                      TreeCase{"TildeThirdFromEndSkipped",
                               {"a.~ak", "x~yz", "~ab", "ab", "~", "b~", "~~"},
                               {"ab", "~", "b~", "~~"}},
                      // A GBK trail byte 0x7E counts as "~" too: the test looks at bytes.
                      TreeCase{"TildeTrailByteSkipped",
                               {"\x81\x7E"
                                "ab",
                                "\x81\x7E"
                                "abc"},
                               {"\x81\x7E"
                                "abc"}},
                      TreeCase{"TildeFolderStillWalked", {"x~yz/inner.exe"}, {"inner.exe"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScanFixture, TrailingBackslashGivesTheSameWalk) {
  dir.Write("a.exe");
  dir.Write("sub/b.exe");
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root() + "\\", Detect);
  const std::vector<std::string> withSlash = Sorted(engine.Calls());
  EXPECT_EQ(withSlash, (std::vector<std::string>{"0 a.exe", "0 b.exe"}));
  EXPECT_EQ(view.Text(kIdStatusLine).find("\\\\"), std::string::npos);
}

TEST_F(ScanFixture, StatusLineShowsTheFullPathOfTheLastFile) {
  dir.Write("sub/only.exe");
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(view.Text(kIdStatusLine), Root() + "\\sub\\only.exe");
}

TEST_F(ScanFixture, MissingFolderIsSkippedSilently) {
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root() + "\\absent", Detect);
  EXPECT_TRUE(engine.Calls().empty());
  EXPECT_EQ(ScanRunState.filesScanned.load(), 0);
  EXPECT_TRUE(view.Rows().empty());
}

TEST_F(ScanFixture, StopBeforeTheWalkSearchesNothing) {
  dir.Write("a.exe");
  ScanRunState.stopRequested.store(1);
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(view.statusUpdates(), 0);
  EXPECT_EQ(ScanRunState.filesScanned.load(), 0);
}

TEST_F(ScanFixture, StopAfterCountingLeavesThatFileUnchecked) {
  for (const char* name : {"a", "b", "c", "d"}) dir.Write(std::string("sub/") + name);
  int seen = 0;
  view.onStatus = [&](const std::string&) {
    if (++seen == 2) ScanRunState.stopRequested.store(1);
  };
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(ScanRunState.filesScanned.load(), 2);
  EXPECT_EQ(engine.Calls().size(), 1u);
}

TEST_F(ScanFixture, StopDuringACheckEndsEveryEnclosingFolder) {
  for (const char* name : {"a/1", "a/2", "a/b/3", "a/b/4", "c/5", "6"}) dir.Write(name);
  RunSteps steps = Steps();
  steps.checkFile = [&](const std::string& path, ScanMode mode) {
    ScanRunState.stopRequested.store(1);
    return engine.Check(path, mode);
  };
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(engine.Calls().size(), 1u);
  EXPECT_EQ(ScanRunState.filesScanned.load(), 1);
  EXPECT_EQ(view.statusUpdates(), 1);
}

struct CleanCase {
  const char* name;
  int detectResult;
  int cleanResult;
  const char* expectedResult;  // nullptr: no row
};

class CleanOutcomeTest : public ScanFixture, public ::testing::WithParamInterface<CleanCase> {};

TEST_P(CleanOutcomeTest, ChecksTwiceAndReportsOneRow) {
  const CleanCase& c = GetParam();
  const std::string file = dir.Write("f.exe").string();
  engine.Answer("f.exe", Detect, c.detectResult);
  engine.Answer("f.exe", Clean, c.cleanResult);
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Clean);

  EXPECT_EQ(engine.Calls(), (std::vector<std::string>{"0 f.exe", "1 f.exe"}));
  const auto rows = view.Rows();
  if (c.expectedResult == nullptr) {
    EXPECT_TRUE(rows.empty());
    return;
  }
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (FakeView::Row{Root() + "\\f.exe", "virus of f.exe", c.expectedResult}));
}

INSTANTIATE_TEST_SUITE_P(Outcomes, CleanOutcomeTest,
                         ::testing::Values(CleanCase{"Cleaned", 1, 1, "清除病毒"},
                                           CleanCase{"InUse", 1, 0, "发现病毒,没有清除,文件被占用"},
                                           CleanCase{"CannotOpenAfterMatch", 1, -1,
                                                     "发现病毒,没有清除,文件被占用"},
                                           CleanCase{"CleanPassAloneCounts", 0, 1, "清除病毒"},
                                           CleanCase{"Nothing", 0, 0, nullptr},
                                           CleanCase{"Unreadable", -1, -1, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScanFixture, DetectModeChecksOnceAndReportsDetected) {
  dir.Write("f.exe");
  engine.Answer("f.exe", Detect, 1);
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(engine.Calls(), (std::vector<std::string>{"0 f.exe"}));
  ASSERT_EQ(view.Rows().size(), 1u);
  EXPECT_EQ(view.Rows()[0][2], "发现病毒");
}

TEST_F(ScanFixture, LinkBackIntoTheWalkIsNotEnteredAgain) {
  dir.Write("a/b/file.exe");
  std::filesystem::create_directory_symlink(dir.path() / "a", dir.path() / "a/b/up");
  std::filesystem::create_directory_symlink(dir.path(), dir.path() / "a/root");
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(engine.Calls(), (std::vector<std::string>{"0 file.exe"}));
}

TEST_F(ScanFixture, LinkOutOfTheTreeIsFollowed) {
  TempDir outside;
  outside.Write("elsewhere.exe");
  dir.Write("here.exe");
  std::filesystem::create_directory_symlink(outside.path(), dir.path() / "link");
  std::filesystem::create_directory_symlink(dir.path() / "link", dir.path() / "link2");
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(Sorted(engine.Calls()),
            (std::vector<std::string>{"0 elsewhere.exe", "0 elsewhere.exe", "0 here.exe"}));
}

TEST_F(ScanFixture, FifoIsNeitherCountedNorOpened) {
  dir.Write("plain.exe");
  ASSERT_EQ(mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(engine.Calls(), (std::vector<std::string>{"0 plain.exe"}));
}

// A path one byte too long for the 512-byte buffer is skipped whole, never cut to a shorter one.
TEST_F(ScanFixture, PathsBeyondTheBufferAreSkippedNotCut) {
  std::string folder = std::string(200, 'd') + "/" + std::string(200, 'e');
  const size_t base = Root().size() + 1 + folder.size() + 1;  // "root\folder\"
  ASSERT_LT(base, kWalkPathBuffer - 2);
  const std::string fits(kWalkPathBuffer - 1 - base, 'f');
  const std::string tooLong(kWalkPathBuffer - base, 'g');
  dir.Write(folder + "/" + fits);
  dir.Write(folder + "/" + tooLong);
  RunSteps steps = Steps();
  DirectoryWalker(view, steps).WalkDirectory(Root(), Detect);
  EXPECT_EQ(engine.Calls(), (std::vector<std::string>{"0 " + fits}));
  EXPECT_EQ(view.Text(kIdStatusLine).size(), kWalkPathBuffer - 1);
}

}  // namespace
}  // namespace morvane::testing
