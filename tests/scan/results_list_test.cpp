#include "scan/results_list.h"

#include <thread>

#include "platform/main_view.h"
#include "scan/scan_fixture.h"

namespace morvane::testing {
namespace {

class ReportFindingTest : public ScanFixture {
 protected:
  void SetUp() override { SetLastVirusName("ransom.wanacry.a"); }
};

struct KindCase {
  const char* name;
  int kind;
  const char* text;
  int cleaned;
};

class FindingKindTest : public ReportFindingTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(FindingKindTest, WritesTheResultTextAndMovesTheCounters) {
  ReportFinding(view, "C:\\x.exe", GetParam().kind);
  ASSERT_EQ(view.Rows().size(), 1u);
  EXPECT_EQ(view.Rows()[0], (FakeView::Row{"C:\\x.exe", "ransom.wanacry.a", GetParam().text}));
  EXPECT_EQ(ScanRunState.virusesFound.load(), 1);
  EXPECT_EQ(ScanRunState.virusesCleaned.load(), GetParam().cleaned);
  EXPECT_EQ(ScanRunState.rowCount.load(), 1);
  EXPECT_EQ(view.Text(kIdVirusCounter), "1");
  EXPECT_EQ(view.Text(kIdCleanedCounter), GetParam().cleaned ? "1" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FindingKindTest,
    ::testing::Values(KindCase{"Detected", 0, "发现病毒", 0}, KindCase{"Cleaned", 1, "清除病毒", 1},
                      KindCase{"AnyPositiveIsCleaned", 7, "清除病毒", 1},
                      KindCase{"InUse", -1, "发现病毒,没有清除,文件被占用", 0},
                      KindCase{"AnyNegativeIsInUse", -5, "发现病毒,没有清除,文件被占用", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportFindingTest, FullListIsEmptiedBeforeTheNextRow) {
  for (int i = 0; i < kMaxResultRows; ++i) ReportFinding(view, "f" + std::to_string(i), Detected);
  ASSERT_EQ(view.Rows().size(), 1000u);
  ReportFinding(view, "last", Detected);
  ASSERT_EQ(view.Rows().size(), 1u);
  EXPECT_EQ(view.Rows()[0][0], "last");
  EXPECT_EQ(ScanRunState.rowCount.load(), 1);
  EXPECT_EQ(ScanRunState.virusesFound.load(), 1001);
  EXPECT_EQ(view.Text(kIdVirusCounter), "1001");
}

TEST_F(ReportFindingTest, StopBeforehandAddsNothing) {
  ScanRunState.stopRequested.store(1);
  ReportFinding(view, "x", Cleaned);
  EXPECT_TRUE(view.Rows().empty());
  EXPECT_EQ(ScanRunState.virusesFound.load(), 0);
}

struct StopCase {
  const char* name;
  int stopAfterColumn;
  const char* result;
  int cleaned;
};

class StopDuringRowTest : public ReportFindingTest,
                          public ::testing::WithParamInterface<StopCase> {};

// A stop that comes while the row is written leaves it without a result, or complete but
// uncounted; the next row then takes the same index.
TEST_P(StopDuringRowTest, LeavesTheRowUncounted) {
  view.onCell = [&](int, int column) {
    if (column == GetParam().stopAfterColumn) ScanRunState.stopRequested.store(1);
  };
  ReportFinding(view, "x", Cleaned);
  ASSERT_EQ(view.Rows().size(), 1u);
  EXPECT_EQ(view.Rows()[0][2], GetParam().result);
  EXPECT_EQ(ScanRunState.rowCount.load(), 0);
  EXPECT_EQ(ScanRunState.virusesFound.load(), 0);
  EXPECT_EQ(ScanRunState.virusesCleaned.load(), GetParam().cleaned);
}

INSTANTIATE_TEST_SUITE_P(Points, StopDuringRowTest,
                         ::testing::Values(StopCase{"AfterVirusName", 1, "", 0},
                                           StopCase{"AfterResult", 2, "清除病毒", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportFindingTest, TakesTheCallingThreadsVirusName) {
  std::thread other([] { SetLastVirusName("other thread's name"); });
  other.join();
  ReportFinding(view, "x", Detected);
  EXPECT_EQ(view.Rows()[0][1], "ransom.wanacry.a");
}

// Rows written from two threads at once never share an index and no count is lost.
TEST_F(ReportFindingTest, TwoWritersNeverShareARow) {
  constexpr int kEach = 400;
  auto writer = [&](const std::string& prefix) {
    SetLastVirusName(prefix.c_str());
    for (int i = 0; i < kEach; ++i) ReportFinding(view, prefix + std::to_string(i), Cleaned);
  };
  std::thread worker(writer, "w");
  writer("u");
  worker.join();
  const auto rows = view.Rows();
  ASSERT_EQ(rows.size(), 2u * kEach);
  for (const auto& row : rows) {
    EXPECT_EQ(row[1], row[0].substr(0, 1));
    EXPECT_EQ(row[2], "清除病毒");
  }
  EXPECT_EQ(ScanRunState.rowCount.load(), 2 * kEach);
  EXPECT_EQ(ScanRunState.virusesFound.load(), 2 * kEach);
  EXPECT_EQ(ScanRunState.virusesCleaned.load(), 2 * kEach);
}

}  // namespace
}  // namespace morvane::testing
