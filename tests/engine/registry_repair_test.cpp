#include "engine/registry_repair.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "platform/platform.h"

namespace morvane::testing {
namespace {

constexpr char kPath[] = "C:\\WINDOWS\\system32\\mssecsvc.exe";
constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kServices[] = "SYSTEM\\CurrentControlSet\\Services";
using Names = std::vector<std::string>;

struct NamesCase {
  const char* name;
  const char* data;
  bool expected;
};

class CommandNamesFileTest : public ::testing::TestWithParam<NamesCase> {};

TEST_P(CommandNamesFileTest, MatchesWholeComponentsOnly) {
  EXPECT_EQ(CommandNamesFile(GetParam().data, "C:\\temp\\1.exe"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandNamesFileTest,
    ::testing::Values(NamesCase{"BarePath", "c:\\temp\\1.exe", true},
                      NamesCase{"Quoted", "\"C:\\TEMP\\1.EXE\" /start", true},
                      NamesCase{"ShortNameFolder", "C:\\PROGRA~1\\1.exe", true},
                      NamesCase{"ArgumentOfRundll", "rundll32.exe C:\\temp\\1.exe,Start", true},
                      NamesCase{"SlashSeparated", "c:/temp/1.exe", true},
                      NamesCase{"AloneAsCommand", "1.exe", true},
                      NamesCase{"LongerName", "C:\\prog\\app1.exe", false},
                      NamesCase{"LongerExtension", "C:\\temp\\1.exe2", false},
                      NamesCase{"DigitElsewhere", "C:\\tools\\v1\\run.exe 1", false},
                      NamesCase{"BaseNameWithoutExtension", "C:\\temp\\1 /x", false},
                      NamesCase{"LaterOccurrenceMatches", "C:\\x1.exe C:\\temp\\1.exe", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandStartsWithFile, ComparesAPrefixWithoutCase) {
  EXPECT_TRUE(CommandStartsWithFile("c:\\windows\\SYSTEM32\\MSSECSVC.EXE -m", kPath));
  EXPECT_FALSE(CommandStartsWithFile("\"C:\\WINDOWS\\system32\\mssecsvc.exe\"", kPath));
  EXPECT_FALSE(CommandStartsWithFile("C:\\WINDOWS", kPath));
  EXPECT_FALSE(CommandStartsWithFile("anything", ""));
}

class RegistryRepairTest : public ::testing::Test {
 protected:
  RegistryRepairTest() : platform_(Make()) {}
  Platform Make() {
    Platform platform = CurrentPlatform();
    platform.registry = &registry;
    return platform;
  }
  Names Values(RegRoot root = RegRoot::LocalMachine, const char* key = kRun) const {
    return registry.ValueNames(root, key);
  }
  void AddService(const std::string& name, const std::string& imagePath) {
    registry.SetValue(RegRoot::LocalMachine, std::string(kServices) + "\\" + name, "ImagePath",
                      imagePath);
    registry.CreateKey(RegRoot::LocalMachine, std::string(kServices) + "\\" + name + "\\Enum");
  }
  bool HasService(const std::string& name) const {
    return registry.HasKey(RegRoot::LocalMachine, std::string(kServices) + "\\" + name);
  }

  FakeRegistry registry;

 private:
  ScopedPlatform platform_;
};

TEST_F(RegistryRepairTest, DeletesAValueStartingWithThePathInAnyCase) {
  registry.SetValue(RegRoot::LocalMachine, kRun, "keep", "C:\\tools\\other.exe");
  registry.SetValue(RegRoot::LocalMachine, kRun, "worm", "c:\\windows\\system32\\MSSECSVC.exe -m");
  RepairInfectionRegistry(kPath);
  EXPECT_EQ(Values(), Names{"keep"});
}

TEST_F(RegistryRepairTest, AdjacentMatchesAreBothDeleted) {
  registry.SetValue(RegRoot::CurrentUser, kRun, "a", kPath);
  registry.SetValue(RegRoot::CurrentUser, kRun, "b", kPath);
  registry.SetValue(RegRoot::CurrentUser, kRun, "c", "C:\\tools\\other.exe");
  RepairInfectionRegistry(kPath);
  EXPECT_EQ(Values(RegRoot::CurrentUser), Names{"c"});
}

TEST_F(RegistryRepairTest, QuotedCommandFallsToTheNamePass) {
  registry.SetValue(RegRoot::LocalMachine, kRun, "quoted",
                    "\"C:\\WINDOWS\\system32\\mssecsvc.exe\"");
  registry.SetValue(RegRoot::LocalMachine, kRun, "keep", "C:\\tools\\other.exe");
  RepairInfectionRegistry(kPath);
  EXPECT_EQ(Values(), Names{"keep"});
}

// The name pass runs only when the last value of the first pass did not match.
TEST_F(RegistryRepairTest, LastValueMatchingByPathSkipsTheNamePass) {
  registry.SetValue(RegRoot::LocalMachine, kRun, "copy", "D:\\backup\\mssecsvc.exe");
  registry.SetValue(RegRoot::LocalMachine, kRun, "worm", kPath);
  RepairInfectionRegistry(kPath);
  EXPECT_EQ(Values(), Names{"copy"});
}

TEST_F(RegistryRepairTest, CoversEveryAutorunKey) {
  for (const AutorunKey& key : AUTORUN_VALUE_KEYS) {
    registry.SetValue(key.root, key.subkey, "worm", kPath);
    registry.SetValue(key.root, key.subkey, "keep", "C:\\ok.exe");
  }
  RepairInfectionRegistry(kPath);
  for (const AutorunKey& key : AUTORUN_VALUE_KEYS) {
    EXPECT_EQ(registry.ValueNames(key.root, key.subkey), Names{"keep"}) << key.subkey;
  }
}

TEST_F(RegistryRepairTest, DefaultValueIsDeletedWhenItStartsWithThePath) {
  registry.SetValue(RegRoot::LocalMachine, kRun, "", kPath);
  RepairInfectionRegistry(kPath);
  EXPECT_EQ(Values(), Names{});
}

TEST_F(RegistryRepairTest, OverlongValueEndsThePassForThatKeyOnly) {
  registry.SetValue(RegRoot::LocalMachine, kRun, "long", std::string(600, 'x'));
  registry.SetValue(RegRoot::LocalMachine, kRun, "worm", kPath);
  registry.SetValue(RegRoot::CurrentUser, kRun, "worm", kPath);
  RepairInfectionRegistry(kPath);
  EXPECT_EQ(Values(), (Names{"long", "worm"}));
  EXPECT_EQ(Values(RegRoot::CurrentUser), Names{});
}

TEST_F(RegistryRepairTest, DeniedKeyIsSkipped) {
  registry.SetValue(RegRoot::LocalMachine, kRun, "worm", kPath);
  registry.Deny(RegRoot::LocalMachine, kRun);
  registry.SetValue(RegRoot::CurrentUser, kRun, "worm", kPath);
  RepairInfectionRegistry(kPath);
  EXPECT_EQ(Values(), Names{"worm"});
  EXPECT_EQ(Values(RegRoot::CurrentUser), Names{});
}

TEST_F(RegistryRepairTest, ServicesRunningTheFileAreDeletedWithTheirSubkeys) {
  AddService("Alerter", "C:\\WINDOWS\\system32\\alerter.exe");
  AddService("mssecsvc2.0", "\"C:\\WINDOWS\\SYSTEM32\\MSSECSVC.EXE\" -m security");
  AddService("twin", std::string(kPath) + " -x");
  AddService("Zeta", "C:\\zeta.exe");
  RepairInfectionRegistry(kPath);
  EXPECT_TRUE(HasService("Alerter"));
  EXPECT_FALSE(HasService("mssecsvc2.0"));
  EXPECT_FALSE(HasService("mssecsvc2.0\\Enum"));
  EXPECT_FALSE(HasService("twin"));
  EXPECT_TRUE(HasService("Zeta"));
}

TEST_F(RegistryRepairTest, UnreadableServicesDoNotStopTheSearch) {
  AddService("denied", kPath);
  registry.Deny(RegRoot::LocalMachine, std::string(kServices) + "\\denied");
  registry.CreateKey(RegRoot::LocalMachine, std::string(kServices) + "\\noimage");
  AddService("long", std::string(600, 'x') + kPath);
  AddService("worm", kPath);
  RepairInfectionRegistry(kPath);
  EXPECT_TRUE(HasService("denied"));
  EXPECT_TRUE(HasService("long"));
  EXPECT_FALSE(HasService("worm"));
}

TEST_F(RegistryRepairTest, WithoutTheTreeDeletionServicesStayAndTheSearchEnds) {
  registry.deleteTreeAvailable = false;
  AddService("worm", kPath);
  AddService("worm2", kPath);
  RepairInfectionRegistry(kPath);
  EXPECT_TRUE(HasService("worm"));
  EXPECT_TRUE(HasService("worm2"));
}

}  // namespace
}  // namespace morvane::testing
