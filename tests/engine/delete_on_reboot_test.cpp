#include "engine/delete_on_reboot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/run_state.h"
#include "fakes/temp_dir.h"
#include "platform/platform.h"
#include "platform/posix/posix_file_system.h"

namespace morvane::testing {
namespace {

// Real files, a Windows folder inside a temporary folder, and MoveFileExA calls only recorded.
class RebootFileSystem : public PosixFileSystem {
 public:
  std::string WindowsDirectory() override { return windows; }
  bool MoveFileEx(const std::string& from, const std::string& to, uint32_t flags) override {
    moves.push_back(from + "|" + to + "|" + std::to_string(flags));
    return moveResult;
  }
  std::string windows;
  std::vector<std::string> moves;
  bool moveResult = true;
};

class DeleteOnRebootTest : public ::testing::Test {
 protected:
  DeleteOnRebootTest() : platform_(Make()) {
    files.windows = dir.path().string();
    isWin9x.store(0);
  }
  ~DeleteOnRebootTest() override { isWin9x.store(0); }
  Platform Make() {
    Platform platform = CurrentPlatform();
    platform.files = &files;
    return platform;
  }
  std::string Wininit() const {
    std::ifstream in(dir.path() / "wininit.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  TempDir dir;
  RebootFileSystem files;

 private:
  ScopedPlatform platform_;
};

TEST_F(DeleteOnRebootTest, NtDeleteRequestHasNoDestinationAndFlagFour) {
  EXPECT_TRUE(DeleteOnReboot("C:\\a\\virus.exe", 1));
  EXPECT_EQ(files.moves, std::vector<std::string>{"C:\\a\\virus.exe||4"});
}

TEST_F(DeleteOnRebootTest, NtReplaceRequestMayReplaceTheInfectedFile) {
  EXPECT_TRUE(DeleteOnReboot("C:\\a\\virus.exe", 0));
  EXPECT_EQ(files.moves, std::vector<std::string>{"C:\\a\\virus.KOX|C:\\a\\virus.exe|5"});
}

TEST_F(DeleteOnRebootTest, NtRequestThatFailsIsNotReportedAsRecorded) {
  files.moveResult = false;
  EXPECT_FALSE(DeleteOnReboot("C:\\a\\virus.exe", 1));
}

TEST_F(DeleteOnRebootTest, WininitIsCreatedWithItsHeader) {
  isWin9x.store(1);
  EXPECT_TRUE(DeleteOnReboot("C:\\a\\virus.exe", 1));
  EXPECT_TRUE(DeleteOnReboot("C:\\b\\host.exe", 0));
  EXPECT_EQ(Wininit(), "[rename]\r\nNUL=C:\\a\\virus.exe\r\nC:\\b\\host.exe=C:\\b\\host.KOX\r\n");
  EXPECT_TRUE(files.moves.empty());
}

struct AppendixCase {
  const char* name;
  const char* existing;
  const char* appended;
};

class WininitAppendixTest : public ::testing::TestWithParam<AppendixCase> {};

TEST_P(WininitAppendixTest, PutsTheLineIntoARenameSection) {
  EXPECT_EQ(WininitAppendix(GetParam().existing, "NUL=C:\\v.exe\r\n"), GetParam().appended);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WininitAppendixTest,
    ::testing::Values(
        AppendixCase{"RenameLast", "[rename]\r\nNUL=C:\\x.exe\r\n", "NUL=C:\\v.exe\r\n"},
        AppendixCase{"RenameInOtherCase", "[Rename]\r\n", "NUL=C:\\v.exe\r\n"},
        AppendixCase{"NoLineEndAtTheEnd", "[rename]\r\nNUL=C:\\x.exe", "\r\nNUL=C:\\v.exe\r\n"},
        AppendixCase{"OtherSectionLast", "[rename]\r\nNUL=C:\\x.exe\r\n[other]\r\nk=v\r\n",
                     "[rename]\r\nNUL=C:\\v.exe\r\n"},
        AppendixCase{"OtherSectionWithoutLineEnd", "[other]\r\nk=v",
                     "\r\n[rename]\r\nNUL=C:\\v.exe\r\n"},
        AppendixCase{"Empty", "", "[rename]\r\nNUL=C:\\v.exe\r\n"},
        AppendixCase{"IndentedHeader", "  [rename]\n", "NUL=C:\\v.exe\r\n"},
        AppendixCase{"BracketInAValue", "[rename]\r\nC:\\a=C:\\[b]\r\n", "NUL=C:\\v.exe\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeleteOnRebootTest, ExistingWininitKeepsItsContentAndGainsTheLine) {
  isWin9x.store(1);
  std::ofstream(dir.path() / "wininit.ini", std::ios::binary) << "[other]\r\nk=v";
  EXPECT_TRUE(DeleteOnReboot("C:\\v.exe", 1));
  EXPECT_EQ(Wininit(), "[other]\r\nk=v\r\n[rename]\r\nNUL=C:\\v.exe\r\n");
}

TEST_F(DeleteOnRebootTest, UnwritableWindowsFolderRecordsNothing) {
  isWin9x.store(1);
  files.windows = (dir.path() / "missing").string();
  EXPECT_FALSE(DeleteOnReboot("C:\\v.exe", 1));
}

TEST_F(DeleteOnRebootTest, WininitThatCannotBeOpenedRecordsNothing) {
  isWin9x.store(1);
  dir.MakeDir("wininit.ini");
  EXPECT_FALSE(DeleteOnReboot("C:\\v.exe", 1));
}

TEST_F(DeleteOnRebootTest, PathTooShortForAWorkingCopyIsNotReplaced) {
  EXPECT_FALSE(DeleteOnReboot("ab", 0));
  EXPECT_TRUE(files.moves.empty());
}

}  // namespace
}  // namespace morvane::testing
