// The file check entry: the report-only pass, the Clean passes and the working-copy fallback,
// with the rule engine either scripted or real (and its cleaning actions scripted).
#include "engine/check_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/kox_path.h"
#include "engine/virus_rules.h"
#include "fakes/temp_dir.h"
#include "platform/posix/posix_platform.h"
#include "tests/engine/counting_file_system.h"
#include "tests/engine/engine_test_files.h"
#include "tests/engine/pe_fixtures.h"

namespace morvane {
namespace {

struct KoxCase {
  const char* name;
  const char* path;
  const char* copy;
};

class KoxPathTest : public ::testing::TestWithParam<KoxCase> {};

TEST_P(KoxPathTest, OverwritesTheLastThreeCharacters) {
  EXPECT_EQ(PATH_WITH_KOX_ENDING(GetParam().path), GetParam().copy);
}

INSTANTIATE_TEST_SUITE_P(Paths, KoxPathTest,
                         ::testing::Values(KoxCase{"Extension", "C:\\a\\b.exe", "C:\\a\\b.KOX"},
                                           KoxCase{"NoExtension", "C:\\a\\setup", "C:\\a\\seKOX"},
                                           KoxCase{"ThreeCharacters", "abc", "KOX"},
                                           KoxCase{"TooShort", "ab", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// A rule engine that answers from a script and records its calls.
struct ScriptedEngine {
  explicit ScriptedEngine(std::function<int(const std::string&, int)> script = {})
      : answer(std::move(script)) {}

  std::function<int(const std::string&, int)> answer;
  std::vector<std::pair<std::string, int>> rulesCalls;
  std::vector<std::pair<std::string, int>> rebootCalls;
  bool recorded = true;

  CheckFileSteps Steps() {
    return CheckFileSteps{[this](const std::string& path, int mode) {
                            rulesCalls.emplace_back(path, mode);
                            return answer(path, mode);
                          },
                          [this](const std::string& path, int deleteOnly) {
                            rebootCalls.emplace_back(path, deleteOnly);
                            return recorded;
                          }};
  }
};

class CheckFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScanRunState.Reset();
    SetLastVirusName("");
  }
  void TearDown() override { ScanRunState.Reset(); }

  std::string WriteSample(const std::string& name) {
    return dir_.Write(name, testing::Render(testing::MatchingLayout(BuiltInSignatures()[1])))
        .string();
  }

  ScopedPlatform platform_{PosixPlatform()};
  testing::TempDir dir_;
};

TEST_F(CheckFileTest, EmptyPathCallsNothing) {
  ScriptedEngine engine([](const std::string&, int) { return 1; });
  EXPECT_EQ(CheckFileUsing("", Clean, engine.Steps()), 0);
  EXPECT_TRUE(engine.rulesCalls.empty());
}

TEST_F(CheckFileTest, DetectIsOneReportOnlyPass) {
  const std::string path = WriteSample("a.exe");
  ScriptedEngine engine([](const std::string&, int) { return 1; });
  EXPECT_EQ(CheckFileUsing(path, Detect, engine.Steps()), 1);
  EXPECT_EQ(engine.rulesCalls, (std::vector<std::pair<std::string, int>>{{path, Detect}}));
}

TEST_F(CheckFileTest, CleanOnACleanFileIsOneReportOnlyPass) {
  const std::string path = dir_.Write("a.txt", "text").string();
  ScriptedEngine engine([](const std::string&, int) { return 0; });
  EXPECT_EQ(CheckFileUsing(path, Clean, engine.Steps()), 0);
  EXPECT_EQ(engine.rulesCalls.size(), 1u);
}

TEST_F(CheckFileTest, PassesStopWhenTheFileIsGone) {
  const std::string path = WriteSample("a.exe");
  ScriptedEngine engine([&](const std::string& p, int mode) {
    if (mode == Clean && engine.rulesCalls.size() == 4) std::filesystem::remove(p);
    return 1;
  });
  EXPECT_EQ(CheckFileUsing(path, Clean, engine.Steps()), 1);
  EXPECT_EQ(engine.rulesCalls.size(), 1u + 3u);
  EXPECT_FALSE(std::filesystem::exists(PATH_WITH_KOX_ENDING(path)));
}

TEST_F(CheckFileTest, PassesStopWhenTheEngineReportsClean) {
  const std::string path = WriteSample("a.exe");
  ScriptedEngine engine([&](const std::string&, int) { return engine.rulesCalls.size() < 3; });
  EXPECT_EQ(CheckFileUsing(path, Clean, engine.Steps()), 1);
  EXPECT_EQ(engine.rulesCalls.size(), 3u);
}

TEST_F(CheckFileTest, MissingFileMakesOnePassAndReportsMinusOne) {
  ScriptedEngine engine([](const std::string&, int) { return -1; });
  EXPECT_EQ(CheckFileUsing(dir_.path().string() + "/gone.exe", Clean, engine.Steps()), -1);
  EXPECT_EQ(engine.rulesCalls.size(), 2u);
  EXPECT_TRUE(engine.rebootCalls.empty());
}

TEST_F(CheckFileTest, TooLongPathMakesNoPassesAndNoCopy) {
  testing::CountingFileSystem counting(Files());
  ScopedPlatform withCounting(counting.With(CurrentPlatform()));
  const std::string path = dir_.path().string() + "/" + std::string(kMaxEnginePath, 'x') + ".exe";
  EXPECT_EQ(CheckFile(path, Clean), -1);
  EXPECT_EQ(counting.counts().copies, 0);
  EXPECT_EQ(counting.counts().opens, 0);
}

// The real rule engine with scripted cleaning actions.
struct EngineWithActions {
  explicit EngineWithActions(std::function<int(File&, const std::string&)> action)
      : clean(std::move(action)) {}

  std::function<int(File&, const std::string&)> clean;
  ScriptedEngine engine;

  CheckFileSteps Steps() {
    engine.answer = [this](const std::string& path, int mode) {
      const CleaningSteps cleaning{
          [](const std::string&) {},
          [this](File& file, const std::string& p, uint64_t, uint8_t*) { return clean(file, p); }};
      return ApplyVirusRules(path, mode, BuiltInSignatures(), cleaning);
    };
    return engine.Steps();
  }
};

// The cleaning that the current actions do: close and leave the file where it is.
int LeaveInPlace(File& file, const std::string&) {
  file.Close();
  return 1;
}

// The whole-virus cleaning: the file is deleted.
int DeleteWhole(File& file, const std::string& path) {
  file.Close();
  Files().Delete(path);
  return 1;
}

TEST_F(CheckFileTest, SurvivorIsCopiedCleanedAndReplacedAtTheNextStart) {
  const std::string path = WriteSample("a.exe");
  EngineWithActions real(LeaveInPlace);
  EXPECT_EQ(CheckFileUsing(path, Clean, real.Steps()), 1);
  const std::string copy = PATH_WITH_KOX_ENDING(path);
  ASSERT_EQ(real.engine.rulesCalls.size(), 1u + MAX_CLEAN_PASSES + 1u);
  EXPECT_EQ(real.engine.rulesCalls.back(), std::make_pair(copy, static_cast<int>(Clean)));
  EXPECT_EQ(testing::ReadBytes(copy), testing::ReadBytes(path));
  EXPECT_EQ(real.engine.rebootCalls, (std::vector<std::pair<std::string, int>>{{path, 0}}));
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 1);
}

TEST_F(CheckFileTest, CopyRemovedByCleaningSchedulesDeletion) {
  testing::CountingFileSystem counting(Files());
  ScopedPlatform withCounting(counting.With(CurrentPlatform()));
  const std::string path = WriteSample("a.exe");
  counting.RefuseUpdateOpens(path);  // a running program: readable, not writable
  EngineWithActions real(DeleteWhole);
  EXPECT_EQ(CheckFileUsing(path, Clean, real.Steps()), 1);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(PATH_WITH_KOX_ENDING(path)));
  EXPECT_EQ(real.engine.rebootCalls, (std::vector<std::pair<std::string, int>>{{path, 1}}));
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 1);
}

// Still infected and nothing recorded: not cleaned, so the walker reports the file as in use.
TEST_F(CheckFileTest, UnrecordedRequestIsNeitherCleanedNorARestart) {
  const std::string path = WriteSample("a.exe");
  EngineWithActions real(LeaveInPlace);
  real.engine.recorded = false;
  EXPECT_EQ(CheckFileUsing(path, Clean, real.Steps()), 0);
  EXPECT_EQ(real.engine.rebootCalls.size(), 1u);
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 0);
}

TEST_F(CheckFileTest, SurvivorWhoseCopyFailsIsNotCleaned) {
  const std::string path = WriteSample("a.exe");
  dir_.MakeDir(std::filesystem::path(PATH_WITH_KOX_ENDING(path)).filename().string());
  EngineWithActions real(LeaveInPlace);
  EXPECT_EQ(CheckFileUsing(path, Clean, real.Steps()), 0);
  EXPECT_TRUE(real.engine.rebootCalls.empty());
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 0);
}

TEST_F(CheckFileTest, DirectoryLeftInPlaceUsesEveryPassAndSchedulesNothing) {
  const std::string path = WriteSample("a.exe");
  EngineWithActions real([](File& file, const std::string& p) {
    file.Close();
    Files().Rename(p, p + ".~ak");
    Files().CreateDirectory(p);
    Files().Delete(p + ".~ak");
    return 1;
  });
  EXPECT_EQ(CheckFileUsing(path, Clean, real.Steps()), 1);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(real.engine.rulesCalls.size(), 1u + MAX_CLEAN_PASSES);
  EXPECT_TRUE(real.engine.rebootCalls.empty());
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 0);
}

TEST_F(CheckFileTest, TableOfOtherNamesIsReported) {
  SignatureTable table{BuiltInSignatures()[1]};
  std::memset(table[0].name, 0, sizeof(table[0].name));
  std::memcpy(table[0].name, "I-WORM.DVLDR", 12);
  const std::string path = WriteSample("a.exe");
  EXPECT_EQ(CheckFileUsing(path, Detect, CheckFileSteps::WithTable(table)), 1);
  EXPECT_STREQ(LastVirusName, "I-WORM.DVLDR");
}

// The built-in actions on the ransomware: a folder of the file's name stands in its place, every
// later pass fails to open it, the copy of a folder fails, and no restart is asked for.
TEST_F(CheckFileTest, BuiltInStepsLeaveAFolderAndNoRestartRequest) {
  const std::string path = WriteSample("a.exe");
  EXPECT_EQ(CheckFile(path, Clean), 1);
  EXPECT_STREQ(LastVirusName, "ransom.wanacry.a");
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_FALSE(std::filesystem::exists(PATH_WITH_KOX_ENDING(path)));
  EXPECT_EQ(ScanRunState.rebootNeeded.load(), 0);
}

}  // namespace
}  // namespace morvane
