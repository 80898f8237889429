// Disk files, the file handle without a file, and the sorted directory listing.
#include "tvlib/core/TFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tvlib/core/TDataFolders.h"
#include "tvlib/core/TDirectoryIterator.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TSafeSave.h"

// The disk side of the file layer, reached through "::" names.
class DiskFile : public ::testing::Test {
 protected:
  TFile* Open(const std::string& name, const std::string& bytes, int mode) {
    WriteWholeFile(dir / name, bytes);
    return FileOpen(("::" + (dir / name)).c_str(), mode);
  }
  TTempDir dir;
};

TEST_F(DiskFile, GetCharUngetCharAndEnd) {
  TFile* file = Open("a.bin", "xy", kFileReadBinary);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(FileGetChar(file), 'x');
  FileUngetChar(file);
  EXPECT_EQ(FileGetChar(file), 'x');
  FileUngetChar(file);
  FileUngetChar(file);  // the second push-back has nothing to push
  EXPECT_EQ(FileGetChar(file), 'x');
  EXPECT_EQ(FileGetChar(file), 'y');
  EXPECT_EQ(FileGetChar(file), -1);
  EXPECT_EQ(FileEof(file), 1);
  FileClose(file);
}

TEST_F(DiskFile, SizeKeepsThePositionAndTextModeDropsCarriageReturns) {
  for (int mode : {int{kFileReadText}, 7}) {  // unknown modes read text
    TFile* file = Open("t.txt", "a\r\nb\r\n", mode);
    ASSERT_NE(file, nullptr);
    char c;
    FileRead(file, &c, 1);
    EXPECT_EQ(file->GetSize(), 6);
    EXPECT_EQ(FileTell(file), 1);
    char rest[8] = {};
    EXPECT_EQ(FileRead(file, rest, 8), 3);
    EXPECT_STREQ(rest, "\nb\n");
    FileClose(file);
  }
}

TEST(FileHandle, WithoutAFileEveryOperationIsHarmless) {
  TFile file;
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Tell(), -1);
  EXPECT_EQ(file.GetSize(), 0);
  EXPECT_TRUE(file.IsEOF());
  char c;
  EXPECT_EQ(file.Read(&c, 1), 0);
  EXPECT_EQ(file.Write(&c, 1), 0);
  EXPECT_TRUE(FileIsBad(&file));
  EXPECT_EQ(FileOpen("no such name", kFileReadBinary), nullptr);
  FileClose(nullptr);
}

TEST_F(DiskFile, AtomicWritesReplaceWholeOrNotAtAll) {
  SetDataFolders(dir.Path().c_str(), dir.Path().c_str());
  WriteWholeFile(dir / "saved.xml", "old");
  ASSERT_TRUE(WriteFileAtomically("common:saved.xml", "new text", 8, kSharedFileMode));
  EXPECT_EQ(ReadWholeFile(dir / "saved.xml"), "new text");
  EXPECT_EQ(std::filesystem::status(dir / "saved.xml").permissions(),
            std::filesystem::perms(kSharedFileMode));
  // A folder in the way of the rename: the old file stays, and no temporary is left.
  std::filesystem::create_directories(dir / "taken.xml/inside");
  EXPECT_FALSE(WriteFileAtomically("common:taken.xml", "x", 1, kSharedFileMode));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.xml"));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"saved.xml", "taken.xml"}));
  EXPECT_FALSE(WriteFileAtomically("no such name", "x", 1, kSharedFileMode));
  SetDataFolders("", "");
}

TEST(DirectoryIterator, SortedWithOrWithoutTrailingSeparator) {
  TTempDir dir;
  for (const char* name : {"b.txt", "A.txt", "a.txt"}) WriteWholeFile(dir / name, "");
  std::filesystem::create_directory(dir / "sub");
  for (std::string pattern : {dir.Path().string(), dir.Path().string() + "/"}) {
    TDirectoryIterator files(pattern.c_str());
    std::string names;
    TString name;
    while (files.Next(&name)) names += std::string(name.c_str()) + " ";
    EXPECT_EQ(names, "A.txt a.txt b.txt ");
  }
  TDirectoryIterator all(dir.Path().c_str());
  TString name;
  bool isDirectory = false;
  int folders = 0;
  while (all.Next(&name, &isDirectory)) folders += isDirectory;
  EXPECT_EQ(folders, 1);
  EXPECT_FALSE(TDirectoryIterator(TString()).Next(&name));
}

TEST(DataFolders, LiveUnderTheXdgDataHome) {
  TTempDir dir;
  setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
  TString user, common;
  EXPECT_TRUE(MakeAppDataFolder(false, &user, "FestraVask"));
  EXPECT_EQ(GetAppDataFolder(true, "FestraVask", &common), 0);
  EXPECT_EQ(user, TString((dir / "Tarvolen/FestraVask/").c_str()));
  EXPECT_EQ(common, user);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "Tarvolen/FestraVask"));
  EXPECT_EQ(GetAppDataFolder(false, nullptr, &user), -1);
  EXPECT_EQ(GetFullPath("/a/./b/../c"), TString("/a/c"));
}
