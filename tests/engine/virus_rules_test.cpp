// The rule engine against real files in a temporary folder: every built-in record, one-byte near
// misses, hostile headers, truncated files and the Clean-mode attribute handling.
#include "engine/virus_rules.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <functional>

#include "engine/pe_image.h"
#include "fakes/temp_dir.h"
#include "platform/posix/posix_platform.h"
#include "tests/engine/counting_file_system.h"
#include "tests/engine/engine_test_files.h"
#include "tests/engine/pe_fixtures.h"

namespace morvane {
namespace {

using testing::MatchingLayout;
using testing::PeLayout;
using testing::Render;

constexpr char kRansomName[] = "ransom.wanacry.a";

const VirusSignature& Record(size_t index) {
  return BuiltInSignatures()[index];
}

class RulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScanRunState.Reset();
    SetLastVirusName("");
  }
  void TearDown() override { ScanRunState.Reset(); }

  std::string Write(const std::string& name, const std::string& bytes) {
    return dir_.Write(name, bytes).string();
  }

  ScopedPlatform platform_{PosixPlatform()};
  testing::TempDir dir_;
};

// --- Every built-in record, with either DOS magic -------------------------------------------

struct MatchCase {
  size_t record;
  const char* magic;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << "record " << c.record + 1 << " " << c.magic;
}

class MatchTest : public RulesTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchTest, DetectReportsTheRecordAndChangesNothing) {
  PeLayout layout = MatchingLayout(Record(GetParam().record));
  layout.magic = GetParam().magic;
  const std::string bytes = Render(layout);
  const std::string path = Write("sample.exe", bytes);

  EXPECT_EQ(ApplyVirusRules(path, Detect), 1);
  EXPECT_STREQ(LastVirusName, kRansomName);
  EXPECT_EQ(testing::ReadBytes(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, MatchTest,
                         ::testing::Values(MatchCase{0, "MZ"}, MatchCase{1, "MZ"},
                                           MatchCase{2, "MZ"}, MatchCase{3, "MZ"},
                                           MatchCase{1, "ZM"}, MatchCase{2, "ZM"}),
                         [](const auto& info) {
                           return "Record" + std::to_string(info.param.record + 1) + "_" +
                                  info.param.magic;
                         });

// --- One byte off in one comparison -----------------------------------------------------------

enum class Miss { FirstByte, LastByte, ShiftedByOne };

struct NearMissCase {
  size_t record;
  size_t patch;
  Miss miss;
};

std::string NearMissName(const ::testing::TestParamInfo<NearMissCase>& info) {
  static const char* const kPatches[] = {"Entry", "Section1", "Section2"};
  static const char* const kMisses[] = {"FirstByte", "LastByte", "ShiftedByOne"};
  return "Record" + std::to_string(info.param.record + 1) + "_" + kPatches[info.param.patch] + "_" +
         kMisses[static_cast<int>(info.param.miss)];
}

std::vector<NearMissCase> AllNearMisses() {
  std::vector<NearMissCase> cases;
  for (size_t record = 0; record < 4; ++record) {
    for (size_t patch = 0; patch < 3; ++patch) {
      for (Miss miss : {Miss::FirstByte, Miss::LastByte, Miss::ShiftedByOne}) {
        cases.push_back({record, patch, miss});
      }
    }
  }
  return cases;
}

void PrintTo(const NearMissCase& c, std::ostream* os) {
  *os << "record " << c.record + 1 << " patch " << c.patch << " miss " << static_cast<int>(c.miss);
}

class NearMissTest : public RulesTest, public ::testing::WithParamInterface<NearMissCase> {};

TEST_P(NearMissTest, DoesNotMatch) {
  PeLayout layout = MatchingLayout(Record(GetParam().record));
  testing::Patch& patch = layout.patches[GetParam().patch];
  switch (GetParam().miss) {
    case Miss::FirstByte:
      patch.bytes[0] ^= 0x01;
      break;
    case Miss::LastByte:
      patch.bytes[3] ^= 0x80;
      break;
    case Miss::ShiftedByOne:
      patch.offset += 1;
      break;
  }
  const std::string path = Write("near.exe", Render(layout));
  EXPECT_EQ(ApplyVirusRules(path, Detect), 0);
  EXPECT_STREQ(LastVirusName, "");
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, NearMissTest, ::testing::ValuesIn(AllNearMisses()), NearMissName);

// --- Hostile and unusual headers -------------------------------------------------------------

struct ShapeCase {
  const char* name;
  std::function<void(PeLayout&)> shape;
  int expected;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
  *os << c.name;
}

class ShapeTest : public RulesTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(ShapeTest, GivesTheExpectedResult) {
  PeLayout layout = MatchingLayout(Record(1));
  GetParam().shape(layout);
  const std::string path = Write("shape.exe", Render(layout));
  EXPECT_EQ(ApplyVirusRules(path, Detect), GetParam().expected);
}

// Moves the entry point to `rva` and its compared bytes to the file position it maps to.
void MoveEntry(PeLayout& layout, uint32_t rva, uint64_t filePosition) {
  layout.entryRva = rva;
  layout.patches[testing::kEntryPatch].offset = filePosition + Record(1).epOffset;
}

// A layout whose raw data sits above a full-size section table.
void RawDataAboveLargestTable(PeLayout& layout, uint16_t sections) {
  layout = MatchingLayout(Record(1), 0x10000);
  layout.numberOfSections = sections;
}

const ShapeCase kShapes[] = {
    {"Unchanged", [](PeLayout&) {}, 1},
    {"LfanewNegativeAsInt32", [](PeLayout& l) { l.eLfanew = 0xFFFFFFF0u; }, 0},
    {"LfanewAllOnes", [](PeLayout& l) { l.eLfanew = 0xFFFFFFFFu; }, 0},
    {"LfanewNear2To31", [](PeLayout& l) { l.eLfanew = 0x7FFFFFFFu; }, 0},
    {"LfanewJustPastEnd",
     [](PeLayout& l) {
       l.writeNtHeaders = false;
       l.eLfanew = static_cast<uint32_t>(testing::ComparedEnd(l));
     },
     0},
    {"NoPeSignature", [](PeLayout& l) { l.writePeSignature = false; }, 0},
    {"BadDosMagic", [](PeLayout& l) { l.magic = "MM"; }, 0},
    {"NoSections", [](PeLayout& l) { l.numberOfSections = 0; }, 0},
    {"OneSection", [](PeLayout& l) { l.numberOfSections = 1; }, 0},
    {"SectionTablePastEnd", [](PeLayout& l) { l.numberOfSections = 1000; }, 0},
    {"SectionCountAtCap", [](PeLayout& l) { RawDataAboveLargestTable(l, kMaxSections); }, 1},
    {"SectionCountPastCap", [](PeLayout& l) { RawDataAboveLargestTable(l, kMaxSections + 1); }, 0},
    {"SectionCountMax", [](PeLayout& l) { RawDataAboveLargestTable(l, 0xFFFF); }, 0},
    // PointerToRawData + 10444 passes 2^32 and would wrap to 0x2000, where the bytes wait.
    {"RawPointerWrapsPast4GiB",
     [](PeLayout& l) {
       l.sections[1].pointerToRawData = static_cast<uint32_t>((1ull << 32) - 10444 + 0x2000);
       l.patches[testing::kSection2Patch].offset = 0x2000;
     },
     0},
    {"EntryInSecondSection", [](PeLayout& l) { MoveEntry(l, 0x2000, 0x1400); }, 1},
    // Past every section: the last section's mapping still decides.
    {"EntryPastEverySection", [](PeLayout& l) { MoveEntry(l, 0x3000, 0x2400); }, 1},
    {"EntryBelowEverySection", [](PeLayout& l) { l.entryRva = 0x10; }, 0},
    {"EntryWindowCutByEndOfFile",
     [](PeLayout& l) {
       const uint64_t end = testing::ComparedEnd(l);
       MoveEntry(l, static_cast<uint32_t>(0x2000 + (end - 100 - 0x1400)), end - 100);
     },
     1},
    // With VirtualSize 0 the raw size bounds the section; .data's raw data is moved so that
    // falling through to the last section would give another position.
    {"VirtualSizeZeroUsesRawSize",
     [](PeLayout& l) {
       l.sections[0].virtualSize = 0;
       l.sections[1].pointerToRawData = 0x3000;
       l.patches[testing::kSection2Patch].offset = 0x3000 + Record(1).section2Offset;
       MoveEntry(l, 0x1800, 0xC00);
     },
     1},
};

INSTANTIATE_TEST_SUITE_P(Headers, ShapeTest, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Files cut short at every read boundary --------------------------------------------------

struct CutCase {
  const char* name;
  uint64_t length;
  int expected;
};

void PrintTo(const CutCase& c, std::ostream* os) {
  *os << c.name << " (" << c.length << " bytes)";
}

class CutTest : public RulesTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutTest, ReadsPastTheEndDoNotMatch) {
  const PeLayout layout = MatchingLayout(Record(1));
  ASSERT_LE(GetParam().length, testing::ComparedEnd(layout));
  const std::string path = Write("cut.exe", Render(layout).substr(0, GetParam().length));
  EXPECT_EQ(ApplyVirusRules(path, Detect), GetParam().expected);
}

constexpr uint64_t kEntryBytesEnd = 0x400 + 38 + 4;
constexpr uint64_t kSection1End = 0x400 + 12365 + 4;
constexpr uint64_t kSection2End = 0x1400 + 10444 + 4;
static_assert(kSection1End < kSection2End);

INSTANTIATE_TEST_SUITE_P(Lengths, CutTest,
                         ::testing::Values(CutCase{"Empty", 0, 0}, CutCase{"OneByte", 1, 0},
                                           CutCase{"DosHeaderShort", 63, 0},
                                           CutCase{"DosHeaderOnly", 64, 0},
                                           CutCase{"NtHeadersShort", 0x40 + 247, 0},
                                           CutCase{"SectionTableShort", 0x40 + 248 + 79, 0},
                                           CutCase{"EntryBytesShort", kEntryBytesEnd - 1, 0},
                                           CutCase{"Section1Short", kSection1End - 1, 0},
                                           CutCase{"Section2Short", kSection2End - 1, 0},
                                           CutCase{"WholeComparedSpan", kSection2End, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Records of other tables -----------------------------------------------------------------

VirusSignature Named(VirusSignature record, const char* name) {
  std::memset(record.name, 0, sizeof(record.name));
  std::memcpy(record.name, name, std::min(std::strlen(name), sizeof(record.name)));
  return record;
}

TEST_F(RulesTest, FirstMatchingSlotWins) {
  const SignatureTable table{Named(Record(1), "record.two"), Named(Record(3), "record.four"),
                             Named(Record(3), "record.four.again")};
  EXPECT_EQ(ApplyVirusRules(Write("a.exe", Render(MatchingLayout(Record(3)))), Detect, table), 1);
  EXPECT_STREQ(LastVirusName, "record.four");
}

TEST_F(RulesTest, EmptySlotEndsTheTable) {
  const SignatureTable table{Named(Record(0), "record.one"), Named(Record(1), ""),
                             Named(Record(1), "after.the.end")};
  EXPECT_EQ(ApplyVirusRules(Write("a.exe", Render(MatchingLayout(Record(1)))), Detect, table), 0);
}

TEST_F(RulesTest, FullLengthNameIsPublishedWhole) {
  const SignatureTable table{Named(Record(1), "twenty.characters.xy")};
  EXPECT_EQ(ApplyVirusRules(Write("a.exe", Render(MatchingLayout(Record(1)))), Detect, table), 1);
  EXPECT_STREQ(LastVirusName, "twenty.characters.xy");
}

TEST_F(RulesTest, RecordOffsetsOutsideEveryBoundDoNotMatch) {
  const std::string path = Write("a.exe", Render(MatchingLayout(Record(1))));
  const struct {
    int32_t ep, section1, section2;
  } kOffsets[] = {{-1, 12365, 10444},        {4093, 12365, 10444},  {INT32_MAX, 12365, 10444},
                  {INT32_MIN, 12365, 10444}, {38, -0x401, 10444},   {38, INT32_MIN, 10444},
                  {38, 12365, INT32_MAX},    {38, 12365, INT32_MIN}};
  for (const auto& offsets : kOffsets) {
    VirusSignature record = Named(Record(1), "hostile");
    record.epOffset = offsets.ep;
    record.section1Offset = offsets.section1;
    record.section2Offset = offsets.section2;
    const SignatureTable table{record};
    EXPECT_EQ(ApplyVirusRules(path, Detect, table), 0)
        << offsets.ep << " " << offsets.section1 << " " << offsets.section2;
  }
}

// --- Cost of one call ------------------------------------------------------------------------

TEST_F(RulesTest, KeepsToTheReadBudget) {
  testing::CountingFileSystem counting(Files());
  ScopedPlatform withCounting(counting.With(CurrentPlatform()));
  const std::string text = Write("notes.txt", std::string(100, 't'));
  EXPECT_EQ(ApplyVirusRules(text, Detect), 0);
  EXPECT_EQ(counting.counts().opens, 1);
  EXPECT_EQ(counting.counts().reads, 1);

  // Headers (3 reads) and the entry window, then record 1 costs nothing (its first section
  // position lies past this file's end) and record 2 two reads.
  const std::string sample = Write("a.exe", Render(MatchingLayout(Record(1))));
  EXPECT_EQ(ApplyVirusRules(sample, Detect), 1);
  EXPECT_EQ(counting.counts().opens, 2);
  EXPECT_EQ(counting.counts().reads, 1 + 4 + 2);
  EXPECT_EQ(counting.counts().writes, 0);
  EXPECT_EQ(counting.counts().attributeSets, 0);
}

// --- Ransom-note pictures --------------------------------------------------------------------

struct NoteCase {
  const char* name;
  const char* file;  // created under the temporary folder, "/" separated
  bool backslashes;  // hand the engine a "\" separated path
  bool deleted;
};

void PrintTo(const NoteCase& c, std::ostream* os) {
  *os << c.file;
}

class RansomNoteTest : public RulesTest,
                       public ::testing::WithParamInterface<std::tuple<NoteCase, ScanMode>> {};

TEST_P(RansomNoteTest, DeletesOnlyThePictureItself) {
  const auto& [note, mode] = GetParam();
  const std::filesystem::path file = dir_.Write(note.file, "BM picture");
  std::string path = file.string();
  if (note.backslashes) {
    for (char& c : path) c = c == '/' ? '\\' : c;
  }
  EXPECT_EQ(ApplyVirusRules(path, mode), 0);
  EXPECT_EQ(!std::filesystem::exists(file), note.deleted);
  EXPECT_STREQ(LastVirusName, "");
}

const NoteCase kNotes[] = {
    {"ExactName", "@wanadecryptor@.bmp", false, true},
    {"MixedCase", "sub/@WanaDecryptor@.BMP", false, true},
    {"BackslashSeparated", "sub/@WANADECRYPTOR@.BMP", true, true},
    {"InsideFolderOfThatName", "@wanadecryptor@.bmp/readme.txt", false, false},
    {"NameContainsIt", "x@wanadecryptor@.bmp.doc", false, false},
    {"NamePrefixed", "x@wanadecryptor@.bmp", false, false},
    {"NameSuffixed", "@wanadecryptor@.bmp.bak", false, false},
};

INSTANTIATE_TEST_SUITE_P(Names, RansomNoteTest,
                         ::testing::Combine(::testing::ValuesIn(kNotes),
                                            ::testing::Values(Detect, Clean)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) == Detect ? "_Detect" : "_Clean");
                         });

TEST_F(RulesTest, StopRequestedOpensNothingButStillDeletesPictures) {
  testing::CountingFileSystem counting(Files());
  ScopedPlatform withCounting(counting.With(CurrentPlatform()));
  const std::string sample = Write("a.exe", Render(MatchingLayout(Record(1))));
  const std::filesystem::path note = dir_.Write("@WANADECRYPTOR@.bmp", "BM");
  ScanRunState.stopRequested.store(1);
  EXPECT_EQ(ApplyVirusRules(sample, Detect), 0);
  EXPECT_EQ(ApplyVirusRules(sample, Clean), 0);
  EXPECT_EQ(ApplyVirusRules(note.string(), Detect), 0);
  EXPECT_EQ(counting.counts().opens, 0);
  EXPECT_EQ(counting.counts().attributeSets, 0);
  EXPECT_FALSE(std::filesystem::exists(note));
}

// --- Paths longer than the engine's buffers --------------------------------------------------

class LongPathTest : public RulesTest {
 protected:
  // A file whose full path is exactly `length` characters, ending in `name`.
  std::string WriteWithPathLength(size_t length, const std::string& name,
                                  const std::string& bytes) {
    const size_t base = dir_.path().string().size() + 2 + name.size();
    EXPECT_LT(base, length);
    return Write(std::string(length - base, 'd') + "/" + name, bytes);
  }
};

TEST_F(LongPathTest, LongestPathFitsTheBuffers) {
  const std::string path =
      WriteWithPathLength(kMaxEnginePath, "a.exe", Render(MatchingLayout(Record(1))));
  ASSERT_EQ(path.size(), kMaxEnginePath);
  EXPECT_EQ(ApplyVirusRules(path, Detect), 1);
}

TEST_F(LongPathTest, LongerPathIsNeitherReadNorChanged) {
  testing::CountingFileSystem counting(Files());
  ScopedPlatform withCounting(counting.With(CurrentPlatform()));
  const std::string sample =
      WriteWithPathLength(kMaxEnginePath + 1, "a.exe", Render(MatchingLayout(Record(1))));
  const std::string note = WriteWithPathLength(kMaxEnginePath + 1, "@wanadecryptor@.bmp", "BM");
  for (ScanMode mode : {Detect, Clean}) {
    EXPECT_EQ(ApplyVirusRules(sample, mode), -1);
    EXPECT_EQ(ApplyVirusRules(note, mode), -1);
  }
  EXPECT_EQ(counting.counts().opens, 0);
  EXPECT_EQ(counting.counts().deletes, 0);
  EXPECT_EQ(counting.counts().attributeSets, 0);
  EXPECT_TRUE(std::filesystem::exists(note));
}

// --- Attributes and the Clean-mode actions ---------------------------------------------------

TEST_F(RulesTest, DetectKeepsReadOnlyAttributes) {
  const std::string sample = Write("a.exe", Render(MatchingLayout(Record(1))));
  const std::string text = Write("b.txt", "text");
  for (const std::string& path : {sample, text}) {
    chmod(path.c_str(), 0444);
    ApplyVirusRules(path, Detect);
    EXPECT_EQ(testing::PermissionBits(path), 0444u) << path;
  }
}

TEST_F(RulesTest, CleanRestoresAttributesOfAFileItLeavesAlone) {
  const std::string text = Write("b.txt", "text");
  const std::string nearMiss = Write("c.exe", Render(MatchingLayout(Record(1))).substr(0, 1000));
  for (const std::string& path : {text, nearMiss}) {
    chmod(path.c_str(), 0444);
    EXPECT_EQ(ApplyVirusRules(path, Clean), 0);
    EXPECT_EQ(testing::PermissionBits(path), 0444u) << path;
  }
}

// Scripted actions that record each call and answer from a list.
struct ScriptedCleaning {
  std::vector<int> answers;
  std::vector<std::string> calls;

  CleaningSteps Steps() {
    return CleaningSteps{[this](const std::string&) { calls.push_back("repair"); },
                         [this](File& file, const std::string&, uint64_t size, uint8_t* buffer) {
                           calls.push_back(std::string("clean:") + LastVirusName + ":" +
                                           std::to_string(size) +
                                           (buffer != nullptr ? "" : ":no-buffer"));
                           const int answer = answers.at(calls.size() / 2 - 1);
                           if (answer == 1) file.Close();
                           return answer;
                         }};
  }
};

TEST_F(RulesTest, CleanGoesOnToTheNextRecordWhenAnActionDoesNotApply) {
  const std::string bytes = Render(MatchingLayout(Record(1)));
  const std::string path = Write("a.exe", bytes);
  chmod(path.c_str(), 0444);
  const SignatureTable table{Named(Record(1), "first"), Named(Record(1), "second")};
  ScriptedCleaning cleaning{{0, 1}, {}};
  EXPECT_EQ(ApplyVirusRules(path, Clean, table, cleaning.Steps()), 1);
  const std::string size = std::to_string(bytes.size());
  EXPECT_EQ(cleaning.calls, (std::vector<std::string>{"repair", "clean:first:" + size, "repair",
                                                      "clean:second:" + size}));
  EXPECT_STREQ(LastVirusName, "second");
  // A cleaned file keeps the normal attributes it was opened with.
  EXPECT_EQ(testing::PermissionBits(path) & 0200, 0200u);
}

TEST_F(RulesTest, CleanWithNoFinishedActionRestoresAttributes) {
  const std::string path = Write("a.exe", Render(MatchingLayout(Record(1))));
  chmod(path.c_str(), 0444);
  const SignatureTable table{Named(Record(1), "only")};
  ScriptedCleaning cleaning{{0}, {}};
  EXPECT_EQ(ApplyVirusRules(path, Clean, table, cleaning.Steps()), 0);
  EXPECT_EQ(cleaning.calls.size(), 2u);
  EXPECT_EQ(testing::PermissionBits(path), 0444u);
}

TEST_F(RulesTest, OtherNonZeroModesOpenForUpdateButDoNotClean) {
  const std::string path = Write("a.exe", Render(MatchingLayout(Record(1))));
  chmod(path.c_str(), 0444);
  ScriptedCleaning cleaning{{1}, {}};
  EXPECT_EQ(ApplyVirusRules(path, 2, BuiltInSignatures(), cleaning.Steps()), 1);
  EXPECT_TRUE(cleaning.calls.empty());
  EXPECT_EQ(testing::PermissionBits(path), 0444u);
}

TEST_F(RulesTest, FileThatCannotBeOpenedForUpdateGivesMinusOneAndKeepsAttributes) {
  testing::CountingFileSystem counting(Files());
  ScopedPlatform withCounting(counting.With(CurrentPlatform()));
  const std::string path = Write("a.exe", Render(MatchingLayout(Record(1))));
  chmod(path.c_str(), 0444);
  counting.RefuseUpdateOpens(path);
  EXPECT_EQ(ApplyVirusRules(path, Clean), -1);
  EXPECT_EQ(ApplyVirusRules(path, Detect), 1);
  EXPECT_EQ(testing::PermissionBits(path), 0444u);
  EXPECT_EQ(ApplyVirusRules(dir_.path().string() + "/missing.exe", Detect), -1);
}

}  // namespace
}  // namespace morvane
