#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/win32/windows_api.h"
#include "win32/win32_test_dir.h"

namespace morvane {
namespace {

using testing::Win32TestDir;

// "病毒样本.exe" in code page 936: the program's paths are GBK bytes end to end.
constexpr char kGbkName[] = "病毒样本.exe";

class Win32FileSystemTest : public ::testing::Test {
 protected:
  std::map<std::string, uint32_t> List(const std::string& folder) {
    std::map<std::string, uint32_t> entries;
    DirEntry entry;
    auto search = files_.FindFirst(folder + "\\*.*", entry);
    if (!search) return entries;
    do {
      entries[entry.name] = entry.attributes;
    } while (search->Next(entry));
    return entries;
  }

  Win32FileSystem files_;
  Win32TestDir dir_;
};

TEST_F(Win32FileSystemTest, ListsAFolderWithDotEntriesAndAttributes) {
  dir_.Write("a.txt");
  dir_.Write(kGbkName);
  ASSERT_TRUE(files_.CreateDirectory(dir_ / "sub"));
  const auto entries = List(dir_.path());
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_TRUE(entries.count(".") && entries.count(".."));
  EXPECT_TRUE(entries.at("sub") & kAttrDirectory);
  EXPECT_FALSE(entries.at("a.txt") & kAttrDirectory);
  EXPECT_TRUE(entries.count(kGbkName)) << "GBK names come back as the same bytes";
}

TEST_F(Win32FileSystemTest, ExactPathFindsOneEntryAndMissingPathsFindNone) {
  dir_.Write(kGbkName);
  DirEntry entry;
  auto search = files_.FindFirst(dir_ / kGbkName, entry);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(entry.name, kGbkName);
  EXPECT_FALSE(search->Next(entry));
  EXPECT_TRUE(files_.Exists(dir_ / kGbkName));
  EXPECT_FALSE(files_.Exists(dir_ / "missing"));
  EXPECT_EQ(files_.FindFirst(dir_ / "missing\\*.*", entry), nullptr);
}

TEST_F(Win32FileSystemTest, AttributesRoundTrip) {
  const std::string file = dir_.Write("a.txt");
  ASSERT_TRUE(files_.SetAttributes(file, kAttrReadOnly | kAttrHidden));
  EXPECT_EQ(files_.GetAttributes(file) & (kAttrReadOnly | kAttrHidden),
            kAttrReadOnly | kAttrHidden);
  EXPECT_FALSE(files_.Delete(file)) << "read-only files resist DeleteFileA";
  ASSERT_TRUE(files_.SetAttributes(file, kAttrNormal));
  EXPECT_EQ(files_.GetAttributes(file) & kAttrReadOnly, 0u);
  EXPECT_EQ(files_.GetAttributes(dir_ / "missing"), kInvalidAttributes);
}

TEST_F(Win32FileSystemTest, ReadsWritesAndResizesAtAbsoluteOffsets) {
  auto file = files_.Open(dir_ / "data.bin", OpenMode::CreateWrite);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->WriteAt(0, "hello world", 11));
  ASSERT_TRUE(file->WriteAt(6, "WORLD", 5));
  ASSERT_TRUE(file->Resize(13));
  EXPECT_EQ(file->Size(), 13u);
  ASSERT_TRUE(file->Close());
  EXPECT_EQ(dir_.Read("data.bin"), std::string("hello WORLD\0\0", 13));

  file = files_.Open(dir_ / "data.bin", OpenMode::ReadWrite);
  ASSERT_NE(file, nullptr);
  char buffer[8] = {};
  EXPECT_EQ(file->ReadAt(6, buffer, sizeof buffer), 7u) << "short read at the end";
  EXPECT_EQ(file->ReadAt(100, buffer, sizeof buffer), 0u);
  ASSERT_TRUE(file->Resize(5));
  EXPECT_EQ(file->Size(), 5u);
}

TEST_F(Win32FileSystemTest, OpenModesThatNeedAFileFailWithoutOne) {
  for (OpenMode mode :
       {OpenMode::Read, OpenMode::ReadWrite, OpenMode::ReadText, OpenMode::WriteExisting}) {
    EXPECT_EQ(files_.Open(dir_ / "missing", mode), nullptr) << static_cast<int>(mode);
  }
  EXPECT_EQ(files_.Open(dir_.path(), OpenMode::Read), nullptr) << "a folder is no file";
}

// Like the C library's fopen, an open file lets others read and write it but not delete it.
TEST_F(Win32FileSystemTest, OpenFilesShareReadAndWriteButNotDelete) {
  const std::string path = dir_.Write("shared.bin", "abc");
  auto reader = files_.Open(path, OpenMode::Read);
  ASSERT_NE(reader, nullptr);
  auto writer = files_.Open(path, OpenMode::ReadWrite);
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(writer->WriteAt(0, "X", 1));
  char first = 0;
  ASSERT_EQ(reader->ReadAt(0, &first, 1), 1u);
  EXPECT_EQ(first, 'X');
  EXPECT_FALSE(files_.Delete(path));
  reader.reset();
  writer.reset();
  EXPECT_TRUE(files_.Remove(path));
  EXPECT_FALSE(files_.Exists(path));
}

TEST_F(Win32FileSystemTest, CopyHonoursFailIfExists) {
  const std::string from = dir_.Write("from", "new");
  const std::string to = dir_.Write("to", "old");
  EXPECT_FALSE(files_.Copy(from, to, true));
  EXPECT_EQ(dir_.Read("to"), "old");
  EXPECT_TRUE(files_.Copy(from, to, false));
  EXPECT_EQ(dir_.Read("to"), "new");
  EXPECT_FALSE(files_.Copy(dir_ / "missing", to, false));
}

TEST_F(Win32FileSystemTest, RenameFailsWhenTheTargetExists) {
  const std::string from = dir_.Write("from", "a");
  const std::string to = dir_.Write("to", "b");
  EXPECT_FALSE(files_.Rename(from, to));
  EXPECT_EQ(dir_.Read("to"), "b");
  ASSERT_TRUE(files_.Delete(to));
  EXPECT_TRUE(files_.Rename(from, to));
  EXPECT_EQ(dir_.Read("to"), "a");
  EXPECT_FALSE(files_.Exists(from));
}

TEST_F(Win32FileSystemTest, FolderIdIsTheSameForEveryPathToTheFolder) {
  ASSERT_TRUE(files_.CreateDirectory(dir_ / "sub"));
  ASSERT_TRUE(files_.CreateDirectory(dir_ / "other"));
  const auto id = files_.FolderId(dir_ / "sub");
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(files_.FolderId(dir_ / "sub\\"), id);
  EXPECT_EQ(files_.FolderId(dir_ / "other\\..\\sub"), id);
  EXPECT_NE(files_.FolderId(dir_ / "other"), id);
  EXPECT_FALSE(files_.FolderId(dir_.Write("file")).has_value());
  EXPECT_FALSE(files_.FolderId(dir_ / "missing").has_value());
}

TEST_F(Win32FileSystemTest, DeleteOnRebootIsRecordedForTheNextStart) {
  const std::string path = dir_.Write("in-use.exe");
  EXPECT_TRUE(files_.MoveFileEx(path, "", kMoveDelayUntilReboot));
  EXPECT_TRUE(files_.Exists(path)) << "nothing happens before the restart";
}

// The test prefix has a drive of each kind, and no Z: (it would be the whole Linux tree).
TEST_F(Win32FileSystemTest, DriveTypesOfTheTestPrefix) {
  const std::pair<const char*, int> drives[] = {
      {"C:\\", kDriveFixed},  {"R:\\", kDriveRamdisk},   {"S:\\", kDriveCdrom},
      {"T:\\", kDriveRemote}, {"Z:\\", kDriveNoRootDir}, {"Q:\\", kDriveNoRootDir}};
  for (const auto& [root, type] : drives) EXPECT_EQ(files_.GetDriveType(root), type) << root;
}

TEST_F(Win32FileSystemTest, SystemFolderLiesInTheWindowsFolder) {
  const std::string windows = files_.WindowsDirectory();
  const std::string system = files_.SystemDirectory();
  ASSERT_FALSE(windows.empty());
  EXPECT_EQ(system.rfind(windows, 0), 0u) << system;
  std::string tail = system.substr(system.find_last_of('\\') + 1);
  std::transform(tail.begin(), tail.end(), tail.begin(), ::tolower);
  EXPECT_EQ(tail, "system32");
}

}  // namespace
}  // namespace morvane
