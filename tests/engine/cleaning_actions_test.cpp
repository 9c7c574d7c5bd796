#include "engine/cleaning_actions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/run_state.h"
#include "engine/decoy_files.h"
#include "engine/virus_rules.h"
#include "fakes/drive_c_file_system.h"
#include "fakes/temp_dir.h"
#include "pe_fixtures.h"
#include "platform/platform.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kInfected[] = "C:\\work\\prog.exe";

// A virus name as a test name: letters, digits and "_" only.
std::string TestName(const char* virusName) {
  std::string name = virusName;
  for (char& ch : name) {
    if (ch == '.' || ch == '-') ch = '_';
  }
  return name;
}

// Built-in record 2 under another name: its compared bytes all lie below 16 KiB, so hosts can
// follow from the rows' host starts on.
SignatureTable TableNaming(const std::string& name) {
  SignatureTable table{};
  table[0] = BuiltInSignatures()[1];
  std::memset(table[0].name, 0, sizeof table[0].name);
  std::memcpy(table[0].name, name.data(), std::min(name.size(), sizeof table[0].name));
  return table;
}

// A deterministic host program of `length` bytes.
std::string Host(size_t length) {
  std::string host(length, '\0');
  for (size_t i = 0; i < length; ++i) host[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  if (length >= 2) host.replace(0, 2, "MZ");
  return host;
}

// The matching virus body padded to `bodySize`, with a little-endian length at `lengthAt`.
std::string VirusBody(uint64_t bodySize, uint64_t lengthAt = 0, uint32_t recorded = 0) {
  std::string body = Render(MatchingLayout(BuiltInSignatures()[1]));
  body.resize(bodySize, '\x90');
  if (lengthAt != 0) {
    for (int i = 0; i < 4; ++i) body[lengthAt + i] = static_cast<char>(recorded >> (8 * i));
  }
  return body;
}

class CleaningTest : public ::testing::Test {
 protected:
  CleaningTest() : files(dir.path().string()), platform_(Make()) {
    ScanRunState.Reset();
    dir.MakeDir("work");
  }
  ~CleaningTest() override { ScanRunState.Reset(); }
  Platform Make() {
    Platform platform = CurrentPlatform();
    platform.files = &files;
    return platform;
  }

  void WriteC(const std::string& cPath, const std::string& bytes) {
    std::ofstream(files.Real(cPath), std::ios::binary) << bytes;
  }
  bool ExistsC(const std::string& cPath) { return fs::exists(files.Real(cPath)); }
  std::string ReadC(const std::string& cPath) {
    std::ifstream in(files.Real(cPath), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  int CleanAs(const std::string& name, const std::string& bytes) {
    WriteC(kInfected, bytes);
    return ApplyVirusRules(kInfected, Clean, TableNaming(name));
  }

  TempDir dir;
  DriveCFileSystem files;

 private:
  ScopedPlatform platform_;
};

TEST_F(CleaningTest, RansomwareIsReplacedByAFolderOfItsName) {
  WriteC(kInfected, VirusBody(20000));
  EXPECT_EQ(ApplyVirusRules(kInfected, Clean), 1);
  EXPECT_TRUE(fs::is_directory(files.Real(kInfected)));
  EXPECT_FALSE(ExistsC(std::string(kInfected) + ".~ak"));
}

struct InfectorCase {
  const char* name;
  uint64_t hostStart;
  uint64_t lengthAt;
  uint64_t virusBytes;
};

class BuriedHostTest : public CleaningTest, public ::testing::WithParamInterface<InfectorCase> {};

TEST_P(BuriedHostTest, HostIsMovedToTheFrontAndCutToItsLength) {
  const InfectorCase& c = GetParam();
  const std::string host = Host(130000);
  std::string file;
  if (c.lengthAt != 0) {
    file = VirusBody(c.hostStart, c.lengthAt, static_cast<uint32_t>(host.size())) + host +
           std::string(999, 'T');  // trailing virus bytes beyond the recorded length
  } else {
    file = VirusBody(c.hostStart) + host + std::string(c.virusBytes - c.hostStart, 'T');
  }
  WriteC("C:\\bak.zip", "decoy");
  WriteC("C:\\Documents.RAR", "decoy");
  WriteC("C:\\keep.zip", "user data");
  EXPECT_EQ(CleanAs(c.name, file), 1);
  EXPECT_EQ(ReadC(kInfected), host);
  EXPECT_FALSE(ExistsC("C:\\bak.zip"));
  EXPECT_FALSE(ExistsC("C:\\Documents.RAR"));
  EXPECT_EQ(ReadC("C:\\keep.zip"), "user data");
}

TEST_P(BuriedHostTest, FileWithoutAHostIsDeleted) {
  const InfectorCase& c = GetParam();
  const uint64_t size = c.lengthAt != 0 ? c.hostStart : c.virusBytes;
  EXPECT_EQ(CleanAs(c.name, VirusBody(size, c.lengthAt, 5)), 1);
  EXPECT_FALSE(ExistsC(kInfected));
}

INSTANTIATE_TEST_SUITE_P(Rows, BuriedHostTest,
                         ::testing::Values(InfectorCase{"WIN32.Supnot.ay", 49160, 49152, 0},
                                           InfectorCase{"WIN32.Supnot.ax", 57352, 57344, 0},
                                           InfectorCase{"WIN32.Supnot.bh", 73736, 73728, 0},
                                           InfectorCase{"WIN32.Supnot.ah", 57352, 57344, 0},
                                           InfectorCase{"WIN32.LOVEGATE", 49160, 0, 176648},
                                           InfectorCase{"WIN32.LOVEGATE.I", 49160, 0, 220536}),
                         [](const auto& info) { return TestName(info.param.name); });

struct RecordedLengthCase {
  const char* name;
  uint32_t recorded;
};

class RecordedLengthTest : public CleaningTest,
                           public ::testing::WithParamInterface<RecordedLengthCase> {};

// A recorded length that no host could have must not cut or pad the file into a broken host.
TEST_P(RecordedLengthTest, ImpossibleLengthDeletesInsteadOfCorrupting) {
  EXPECT_EQ(CleanAs("WIN32.Supnot.ay", VirusBody(49160, 49152, GetParam().recorded) + Host(1000)),
            1);
  EXPECT_FALSE(ExistsC(kInfected));
}

INSTANTIATE_TEST_SUITE_P(Lengths, RecordedLengthTest,
                         ::testing::Values(RecordedLengthCase{"Zero", 0},
                                           RecordedLengthCase{"PastTheEnd", 1001},
                                           RecordedLengthCase{"Huge", 0xFFFFFFFF}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CleaningTest, ShiftOfAnExactMultipleOfTheBlockKeepsEveryByte) {
  const std::string host = Host(2 * kShiftBlockSize);
  EXPECT_EQ(CleanAs("WIN32.Supnot.ay",
                    VirusBody(49160, 49152, static_cast<uint32_t>(host.size())) + host),
            1);
  EXPECT_EQ(ReadC(kInfected), host);
}

TEST_F(CleaningTest, NimdaEmbeddedProgramBecomesTheFile) {
  std::string file = VirusBody(45056 + 300);
  file[45056 + 100] = 'Z';
  file[45056 + 101] = 'M';
  const std::string host = Host(20000);
  file += host;
  EXPECT_EQ(CleanAs("I-WORM.NIMDA", file), 1);
  EXPECT_EQ(ReadC(kInfected), file.substr(45056 + 100));
}

TEST_F(CleaningTest, SmallNimdaFileIsDeleted) {
  EXPECT_EQ(CleanAs("I-WORM.NIMDA.E", VirusBody(57344)), 1);
  EXPECT_FALSE(ExistsC(kInfected));
}

// Without an embedded program the action does not apply: the file stays as it was.
TEST_F(CleaningTest, NimdaWithoutEmbeddedProgramIsLeftAlone) {
  const std::string file = VirusBody(45056) + std::string(30000, 'x');
  EXPECT_EQ(CleanAs("I-WORM.NIMDA", file), 0);
  EXPECT_EQ(ReadC(kInfected), file);
}

// An "M" as the last byte read with a "Z" just beyond the search window is no program start.
TEST_F(CleaningTest, NimdaSearchStaysInsideTheBytesRead) {
  std::string file = VirusBody(45056) + std::string(20480, 'x');
  file[45056 + 20479] = 'M';
  file += "Z" + std::string(100, 'y');
  EXPECT_EQ(CleanAs("I-WORM.NIMDA", file), 0);
  EXPECT_EQ(ReadC(kInfected), file);
}

TEST_F(CleaningTest, RenamedHostGetsItsNameBackFromZmxFirst) {
  WriteC("C:\\work\\prog.zmx", "zmx host");
  WriteC("C:\\work\\prog.~ex", "~ex host");
  WriteC("C:\\autorun.inf", "[autorun]");
  EXPECT_EQ(CleanAs("I-Worm.Supnot", VirusBody(20000)), 1);
  EXPECT_EQ(ReadC(kInfected), "zmx host");
  EXPECT_TRUE(ExistsC("C:\\work\\prog.~ex"));
  EXPECT_FALSE(ExistsC("C:\\autorun.inf"));
}

TEST_F(CleaningTest, RenamedHostFallsBackToTildeEx) {
  WriteC("C:\\work\\prog.~ex", "~ex host");
  EXPECT_EQ(CleanAs("I-Worm.Supnot", VirusBody(20000)), 1);
  EXPECT_EQ(ReadC(kInfected), "~ex host");
}

struct WholeVirusCase {
  const char* name;
  bool kernel66;
  bool drwtsn16;
  bool startupCheck;
};

class WholeVirusTest : public CleaningTest, public ::testing::WithParamInterface<WholeVirusCase> {};

TEST_P(WholeVirusTest, FileAndCompanionsAreDeleted) {
  dir.MakeDir("WINDOWS/system32");
  WriteC("C:\\WINDOWS\\system32\\KERNEL66.dLL", "companion");
  WriteC("C:\\WINDOWS\\drwtsn16.exe", "companion");
  EXPECT_EQ(CleanAs(GetParam().name, VirusBody(20000)), 1);
  EXPECT_FALSE(ExistsC(kInfected));
  EXPECT_EQ(ExistsC("C:\\WINDOWS\\system32\\KERNEL66.dLL"), !GetParam().kernel66);
  EXPECT_EQ(ExistsC("C:\\WINDOWS\\drwtsn16.exe"), !GetParam().drwtsn16);
  EXPECT_EQ(ScanRunState.startupCheckNeeded.load(), GetParam().startupCheck ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Names, WholeVirusTest,
                         ::testing::Values(WholeVirusCase{"I-WORM.DVLDR", false, false, true},
                                           WholeVirusCase{"I-WORM.SUPNOT.F", true, false, false},
                                           WholeVirusCase{"I-WORM.SUPNOT.G", true, true, false},
                                           WholeVirusCase{"I-WORM.SUPNOT.I", true, false, false},
                                           WholeVirusCase{"Other", false, false, false}),
                         [](const auto& info) { return TestName(info.param.name); });

TEST_F(CleaningTest, DecoyThatIsAFolderIsLeftInPlace) {
  dir.MakeDir("bak.zip/inner");
  EXPECT_EQ(CleanAs("WIN32.LOVEGATE", VirusBody(49160) + Host(200000)), 1);
  EXPECT_TRUE(fs::is_directory(files.Real("C:\\bak.zip\\inner")));
}

TEST(DrivePart, TakesTheDriveLetterOnly) {
  EXPECT_EQ(DrivePart("C:\\a\\b.exe"), "C:");
  EXPECT_EQ(DrivePart("\\\\server\\share\\b.exe"), "");
  EXPECT_EQ(DrivePart("b.exe"), "");
}

}  // namespace
}  // namespace morvane::testing
