// The resources of morvane.exe as Windows reads them: texts in code page 936 (a .rc compiled
// without its code page pragma gives mojibake), the manifest, the icon and the dialog.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/handles.h"
#include "win32/win32_test_dir.h"

namespace morvane {
namespace {

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(program_.Valid()); }

  std::string Resource(const char* type, int id) {
    const HRSRC found = FindResourceA(program_.Get(), MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {};
    const HGLOBAL loaded = LoadResource(program_.Get(), found);
    return std::string(static_cast<const char*>(LockResource(loaded)),
                       SizeofResource(program_.Get(), found));
  }

  std::string VersionText(const char* field) {
    const std::string block = Resource(MAKEINTRESOURCEA(16), 1);  // RT_VERSION
    void* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\080404b0\\") + field;
    std::string copy = block;  // VerQueryValueA may write into the block
    if (!VerQueryValueA(copy.data(), query.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const char*>(value);
  }

  win32::Library program_{LoadLibraryExA((testing::ProgramFolder() + "\\morvane.exe").c_str(),
                                         nullptr, LOAD_LIBRARY_AS_DATAFILE)};
};

TEST_F(ResourcesTest, FolderDialogTitleIsStringOne) {
  char text[64] = {};
  ASSERT_GT(LoadStringA(program_.Get(), 1, text, sizeof text), 0);
  EXPECT_STREQ(text, "目录选择");
}

TEST_F(ResourcesTest, ManifestAsksForAdministratorRightsAndCommonControls6) {
  const std::string manifest = Resource(MAKEINTRESOURCEA(24), 1);  // RT_MANIFEST
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
}

TEST_F(ResourcesTest, IconAndMainDialogArePresent) {
  EXPECT_NE(FindResourceA(program_.Get(), MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14)), nullptr)
      << "icon group 128";
  const std::string dialog = Resource(MAKEINTRESOURCEA(5), 102);  // RT_DIALOG
  ASSERT_GE(dialog.size(), 26u);
  // DLGTEMPLATEEX: version 1, signature 0xFFFF, then help id, extended style, style, count,
  // x, y, cx, cy.
  const auto word = [&](size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(dialog[at]) |
                                 static_cast<unsigned char>(dialog[at + 1]) << 8);
  };
  EXPECT_EQ(word(2), 0xFFFFu);
  EXPECT_EQ(word(16), 20u) << "controls";
  EXPECT_EQ(word(22), 360u);
  EXPECT_EQ(word(24), 309u);
}

TEST_F(ResourcesTest, VersionNamesTheProgram) {
  EXPECT_EQ(VersionText("OriginalFilename"), "morvane.exe");
  EXPECT_EQ(VersionText("FileDescription"), "Morvane蠕虫勒索病毒专杀免疫工具");
}

}  // namespace
}  // namespace morvane
