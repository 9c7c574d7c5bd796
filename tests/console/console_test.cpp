// morvane-scan as a user runs it: the real binary on generated trees.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/signatures.h"
#include "fakes/temp_dir.h"
#include "tests/engine/pe_fixtures.h"

namespace morvane::testing {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::string& path) {
  std::string text;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

Outcome RunScanner(const std::string& args) {
  TempDir capture;
  const std::string out = (capture.path() / "out").string();
  const std::string err = (capture.path() / "err").string();
  const std::string command = std::string(MORVANE_SCAN) + " " + args + " >" + Quote(out) + " 2>" +
                              Quote(err) + " </dev/null";
  const int raw = std::system(command.c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  outcome.out = ReadAll(out);
  outcome.err = ReadAll(err);
  return outcome;
}

struct UsageCase {
  const char* name;
  const char* args;
  int status;
  const char* inErr;
};

class ConsoleUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ConsoleUsageTest, ExitsWithAClearMessage) {
  const Outcome outcome = RunScanner(GetParam().args);
  EXPECT_EQ(outcome.status, GetParam().status);
  EXPECT_NE(outcome.err.find(GetParam().inErr), std::string::npos) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleUsageTest,
    ::testing::Values(UsageCase{"NoPath", "", 2, "no PATH given"},
                      UsageCase{"UnknownOption", "--fast /tmp", 2, "unknown option --fast"},
                      UsageCase{"TwoPaths", "/tmp /tmp", 2, "only one PATH"},
                      UsageCase{"MissingFolder", "/nonexistent/morvane", 2,
                                "cannot read the folder /nonexistent/morvane"},
                      UsageCase{"FileIsNoFolder", "/etc/hostname", 2, "cannot read the folder"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Console, HelpExplainsTheCommand) {
  const Outcome outcome = RunScanner("--help");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("Usage: morvane-scan [--clean] PATH"), std::string::npos);
  EXPECT_NE(outcome.out.find("Exit status"), std::string::npos);
}

TEST(Console, CleanTreeEndsWithTheCountersAndExitsZero) {
  TempDir tree;
  tree.Write("a.exe", "MZ not really");
  tree.Write("docs/readme.txt");
  tree.Write("docs/.hidden/skipped.exe");
  tree.Write("docs/x.~ak");
  const Outcome outcome = RunScanner(Quote(tree.path().string() + "/"));
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "查杀完毕！\n文件数：2\t病毒数：0\t清除数：0\n");
  EXPECT_TRUE(outcome.err.empty()) << outcome.err;
}

TEST(Console, CleanModeOnAnEmptyTreeChangesNothing) {
  TempDir tree;
  tree.MakeDir("empty");
  const Outcome outcome = RunScanner("--clean " + Quote(tree.path().string()));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "查杀完毕！\n文件数：0\t病毒数：0\t清除数：0\n");
}

TEST(Console, FindingIsReportedAndDetectModeChangesNothing) {
  TempDir tree;
  const std::string virus = Render(MatchingLayout(BuiltInSignatures()[1]));
  const auto file = tree.Write("sub/tasksche.exe", virus);
  tree.Write("@WanaDecryptor@.bmp", "note");
  const Outcome outcome = RunScanner(Quote(tree.path().string()));
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_EQ(outcome.out, file.string() + "\transom.wanacry.a\t发现病毒\n查杀完毕！\n" +
                             "文件数：2\t病毒数：1\t清除数：0\n");
  EXPECT_EQ(ReadAll(file.string()), virus);
  EXPECT_FALSE(std::filesystem::exists(tree.path() / "@WanaDecryptor@.bmp"));
}

TEST(Console, CleanModeLeavesAFolderInPlaceOfTheRansomware) {
  TempDir tree;
  const auto file = tree.Write("tasksche.exe", Render(MatchingLayout(BuiltInSignatures()[3])));
  const Outcome outcome = RunScanner("--clean " + Quote(tree.path().string()));
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_NE(outcome.out.find("\transom.wanacry.a\t清除病毒\n"), std::string::npos);
  EXPECT_NE(outcome.out.find("文件数：1\t病毒数：1\t清除数：1\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

// Every shape of file in one tree: exactly the matches are reported, and Detect mode leaves every
// byte, permission and modification time as it was.
TEST(Console, MixedTreeReportsExactlyThePositives) {
  TempDir tree;
  std::vector<std::string> expectedRows;
  std::vector<std::filesystem::path> written;
  for (const NamedFixture& fixture : SeedFixtures()) {
    written.push_back(tree.Write("shapes/" + fixture.name + ".exe", fixture.bytes));
    if (fixture.name.rfind("match-", 0) == 0) {
      expectedRows.push_back(written.back().string() + "\transom.wanacry.a\t发现病毒");
    }
  }
  written.push_back(
      tree.Write("record1/tasksche.exe", Render(MatchingLayout(BuiltInSignatures()[0]))));
  expectedRows.push_back(written.back().string() + "\transom.wanacry.a\t发现病毒");
  std::filesystem::permissions(written.front(), std::filesystem::perms::owner_read);
  std::vector<std::pair<std::string, std::filesystem::file_time_type>> before;
  for (const auto& file : written) {
    before.emplace_back(ReadAll(file.string()), std::filesystem::last_write_time(file));
  }

  const Outcome outcome = RunScanner(Quote(tree.path().string()));
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  std::vector<std::string> rows;
  std::istringstream lines(outcome.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("\t发现病毒") != std::string::npos) rows.push_back(line);
  }
  std::sort(rows.begin(), rows.end());
  std::sort(expectedRows.begin(), expectedRows.end());
  EXPECT_EQ(rows, expectedRows);
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(ReadAll(written[i].string()), before[i].first) << written[i];
    EXPECT_EQ(std::filesystem::last_write_time(written[i]), before[i].second) << written[i];
  }
  EXPECT_EQ(std::filesystem::status(written.front()).permissions(),
            std::filesystem::perms::owner_read);
}

}  // namespace
}  // namespace morvane::testing
