// The file index: package entries, overrides by later packages and loose files, "final.txt".
#include "tvlib/core/TFileIndex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tools/tvpack/TPackageWriter.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"

namespace fs = std::filesystem;

namespace {

std::string Pack(std::vector<TPackMember> members) {
  std::string package, error;
  EXPECT_TRUE(BuildPackage(std::move(members), &package, &error)) << error;
  return package;
}

// Reads a whole virtual file; "<none>" when it does not open.
std::string Slurp(const std::string& name, int mode = kFileReadBinary) {
  std::string bytes;
  return FileReadAll(name.c_str(), mode, 1 << 20, &bytes) ? bytes : "<none>";
}

}  // namespace

// A program folder with assets/, a user folder, and the log in the temporary folder.
class FileSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "assets");
    fs::create_directories(dir / "user");
    SetLogDirectory(dir.Path().c_str());
    SetProgramFolder(dir.Path().c_str());
    SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
  }
  void Put(const std::string& relative, const std::string& bytes) {
    fs::create_directories(fs::path(dir / relative).parent_path());
    WriteWholeFile(dir / relative, bytes);
  }
  void Mount() {
    ClearFileIndex();
    MountFileSystem();
  }
  std::string Log() { return ReadWholeFile(dir / "logfile.txt"); }
  TTempDir dir;
};

TEST_F(FileSystem, PackageEntriesReadThroughAnyCaseOfTheirName) {
  std::string binary("\0\x01\r\n\xff", 5);
  std::string longName = "deep/" + std::string(250, 'n');  // 255 bytes
  Put("assets/one.tvp",
      Pack({{"Images/X.png", binary}, {"text.txt", "a\r\nb"}, {longName, "long"}}));
  Mount();
  EXPECT_EQ(Slurp("Assets/Images/X.PNG"), binary);
  EXPECT_EQ(Slurp("images/x.png"), binary);
  EXPECT_EQ(Slurp(longName), "long");

  TFile* text = FileOpen("text.txt", kFileReadText);
  ASSERT_NE(text, nullptr);
  char bytes[8] = {};
  EXPECT_EQ(FileRead(text, bytes, 8), 3);
  EXPECT_STREQ(bytes, "a\nb");
  EXPECT_EQ(FileTell(text), 4);
  FileSeek(text, 1, kSeekStart);
  FileUngetChar(text);
  EXPECT_EQ(FileTell(text), 0);
  FileSeek(text, -10, kSeekStart);  // before the start lands on the end
  EXPECT_EQ(FileTell(text), 4);
  EXPECT_EQ(FileEof(text), 1);
  EXPECT_EQ(FileWrite(text, "x", 1), 0);
  FileClose(text);
}

TEST_F(FileSystem, LaterPackagesAndLooseFilesOverride) {
  Put("assets/a.tvp", Pack({{"shared.txt", "from a"}, {"only-a.txt", "a"}}));
  Put("assets/b.tvp", Pack({{"Shared.txt", "from b"}}));
  Mount();
  EXPECT_EQ(Slurp("shared.txt"), "from b");
  EXPECT_EQ(Slurp("only-a.txt"), "a");
  Put("assets/SHARED.TXT", "loose");
  Put("assets/sub/dir/Item.txt", "nested");
  Mount();
  EXPECT_EQ(Slurp("shared.txt"), "loose");
  EXPECT_EQ(Slurp("assets/sub/dir/item.txt"), "nested");
  EXPECT_EQ(Slurp("assets\\sub/DIR/item.txt"), "nested");
}

TEST_F(FileSystem, FinalTxtHidesNamesAtAnyDepth) {
  Put("final.txt", "secret.txt\r\n\thiddendir  ");
  Put("assets/secret.txt", "s");
  Put("assets/a/b/secret.txt", "s");
  Put("assets/hiddendir/x.txt", "x");
  Put("assets/a/shown.txt", "y");
  Mount();
  EXPECT_FALSE(FileExists("secret.txt"));
  EXPECT_FALSE(FileExists("a/b/secret.txt"));
  EXPECT_FALSE(FileExists("hiddendir/x.txt"));
  EXPECT_TRUE(FileExists("a/shown.txt"));
}

// Links to folders are followed inside the assets folder, each folder indexed once however
// many links lead to it, and never out of the tree; a missing assets folder is logged.
TEST_F(FileSystem, FolderLinksStayInsideTheTreeAndNeverLoop) {
  Put("assets/sub/in.txt", "i");
  Put("outside/secret.txt", "s");
  for (const char* link : {"assets/l1", "assets/l2", "assets/l3", "assets/sub/up"})
    fs::create_directory_symlink(".", dir / link);
  fs::create_directory_symlink(dir / "assets/sub", dir / "assets/alias");
  fs::create_directory_symlink(dir / "outside", dir / "assets/out");
  fs::create_directory_symlink("../../outside", dir / "assets/sub/back");
  Mount();
  EXPECT_TRUE(FileExists("sub/in.txt"));
  EXPECT_TRUE(FileExists("alias/in.txt"));
  EXPECT_FALSE(FileExists("out/secret.txt"));
  EXPECT_FALSE(FileExists("sub/back/secret.txt"));
  EXPECT_NE(Log().find("a link out of the folder"), std::string::npos) << Log();

  fs::remove_all(dir / "assets");
  Mount();
  EXPECT_NE(Log().find("no assets folder"), std::string::npos) << Log();
}

TEST_F(FileSystem, OversizedFinalTxtIsIgnored) {
  std::string list = "toolong.txt";
  Put("final.txt", list + std::string(100000 - list.size(), ' '));
  Put("assets/toolong.txt", "t");
  Mount();
  EXPECT_TRUE(FileExists("toolong.txt"));
}

TEST_F(FileSystem, DataFolderAndDiskNames) {
  Mount();
  EXPECT_TRUE(FileExists("user:missing.dat"));
  EXPECT_TRUE(FileExists("common:missing.dat"));
  EXPECT_EQ(FileOpen("user:missing.dat", kFileReadBinary), nullptr);
  TFile* file = FileOpen("user:Made.dat", kFileWriteBinary);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(FileWrite(file, "abc", 3), 3);
  FileClose(file);
  EXPECT_EQ(ReadWholeFile(dir / "user/made.dat"), "abc");
  EXPECT_EQ(Slurp("USER:made.dat"), "abc");

  Put("user/Prefs.dat", "p");
  Mount();
  EXPECT_EQ(Slurp("user:prefs.dat"), "p");  // found on disk whatever its case
  EXPECT_EQ(Slurp("::" + (dir / "user/Prefs.dat")), "p");
  EXPECT_FALSE(FileExists(("::" + (dir / "user/nothing.dat")).c_str()));

  SetDataFolders("", "");  // before start-up sets them, no disk path is made up
  EXPECT_FALSE(FileExists("user:unset.dat"));
  EXPECT_FALSE(FileExists("common:unset.dat"));
}

// Each broken package keeps the entries that are sound and logs what it skipped.
TEST_F(FileSystem, CorruptPackagesKeepTheirSoundEntries) {
  std::string good = Pack({{"a.txt", "AAAA"}, {"b.txt", "BBBB"}});
  // Directory: 8 header bytes, then "a.txt" entry (1+5+8) at 8, "b.txt" entry at 22.
  auto patched = [&](size_t at, std::string bytes) {
    std::string copy = good;
    return copy.replace(at, bytes.size(), bytes);
  };
  struct Case {
    const char* what;
    std::string package;
    bool a, b;
    const char* logged;
  } cases[] = {
      {"wrong magic", patched(0, "TVPX"), false, false, "Not an asset package"},
      {"count past the directory", patched(4, std::string("\x09\0\0\0", 4)), true, true,
       "the directory ends after"},
      {"offset past the file", patched(8 + 6, std::string("\xf0\0\0\0", 4)), false, true,
       "entry a.txt lies outside the file"},
      {"size past the file", patched(22 + 10, std::string("\0\0\0\x7f", 4)), true, false,
       "entry b.txt lies outside the file"},
      {"name past the directory", patched(22, "\xff"), true, false,
       "the directory ends after 1 of its 2 entries"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetLogDirectory(dir.Path().c_str());
    Put("assets/p.tvp", c.package);
    Mount();
    EXPECT_EQ(FileExists("a.txt"), c.a);
    EXPECT_EQ(FileExists("b.txt"), c.b);
    EXPECT_EQ(Slurp("a.txt"), c.a ? "AAAA" : "<none>");
    EXPECT_EQ(Slurp("b.txt"), c.b ? "BBBB" : "<none>");
    EXPECT_NE(Log().find(c.logged), std::string::npos) << Log();
  }
}

// A package of many bad entries logs the first few and a count, and keeps its sound entry.
TEST_F(FileSystem, ManyBadEntriesAreCountedNotEachLogged) {
  std::string package = Pack({{"a.txt", "AAAA"}});
  const uint32_t bad = 100000;
  std::string entries;
  for (uint32_t i = 0; i < bad; i++)
    entries += std::string("\x01z\xff\xff\xff\x00\x01\x00\x00\x00", 10);
  // Directory: the header, the sound entry (1+5+8 bytes), then the bad ones; the sound
  // entry's bytes move down by the bad entries' size.
  std::string out = package.substr(0, 8 + 14) + entries + package.substr(8 + 14);
  const uint32_t count = bad + 1, offset = 8 + 14 + static_cast<uint32_t>(entries.size());
  std::memcpy(out.data() + 4, &count, 4);
  std::memcpy(out.data() + 8 + 6, &offset, 4);
  Put("assets/bad.tvp", out);
  Mount();
  EXPECT_EQ(Slurp("a.txt"), "AAAA");
  const std::string log = Log();
  size_t lines = 0;
  for (size_t at = log.find("lies outside the file"); at != std::string::npos;
       at = log.find("lies outside the file", at + 1))
    lines++;
  EXPECT_LT(lines, 20u);
  EXPECT_NE(log.find("100000 bad entries skipped in all"), std::string::npos) << log;
}

TEST_F(FileSystem, AnEmptyPackageMountsNothingQuietly) {
  Put("assets/empty.tvp", "");
  Put("assets/full.tvp", Pack({{"a.txt", "AAAA"}}));
  Mount();
  EXPECT_EQ(Slurp("a.txt"), "AAAA");
  EXPECT_EQ(Log().find("empty.tvp"), std::string::npos) << Log();
}

TEST_F(FileSystem, RemountKeepsOpenEntriesReadable) {
  Put("assets/p.tvp", Pack({{"x.txt", "first"}}));
  Mount();
  TFile* old = FileOpen("x.txt", kFileReadBinary);
  ASSERT_NE(old, nullptr);
  // The packer renames a fresh file into place; the old one's bytes must stay readable.
  Put("assets/next", Pack({{"x.txt", "second!"}}));
  fs::rename(dir / "assets/next", dir / "assets/p.tvp");
  Mount();
  EXPECT_EQ(Slurp("x.txt"), "second!");
  char bytes[6] = {};
  EXPECT_EQ(FileRead(old, bytes, 5), 5);
  EXPECT_STREQ(bytes, "first");
  FileClose(old);
}

TEST(PackageWriter, RefusesWhatTheFormatCannotHold) {
  std::string error, package;
  EXPECT_TRUE(CheckPackageLimits({std::string(255, 'n')}, {1}).empty());
  EXPECT_NE(CheckPackageLimits({std::string(256, 'n')}, {1}).find("256 bytes"), std::string::npos);
  EXPECT_NE(CheckPackageLimits({""}, {1}), "");
  EXPECT_NE(CheckPackageLimits({"a", "b"}, {0x40000000, 0x40000000}).find("exceed"),
            std::string::npos);
  EXPECT_FALSE(BuildPackage({{"same", "1"}, {"same", "2"}}, &package, &error));
  EXPECT_NE(error.find("twice"), std::string::npos);
}

TEST(PackageWriter, OrderIsSortedAndLayoutExact) {
  std::string package, error;
  ASSERT_TRUE(BuildPackage({{"b", "22"}, {"a", "1"}}, &package, &error));
  std::string expected(
      "TVPK\x02\0\0\0"
      "\x01"
      "a"
      "\x1c\0\0\0"
      "\x01\0\0\0"
      "\x01"
      "b"
      "\x1d\0\0\0"
      "\x02\0\0\0"
      "122",
      8 + 2 * 10 + 3);
  EXPECT_EQ(package, expected);
}

TEST(PackageWriter, LaterFoldersReplaceFilesOfTheSameName) {
  // The game packs its assets, then its precompiled scripts over their sources.
  TTempDir dir;
  std::filesystem::create_directories(dir.Path() / "assets/scripts");
  std::filesystem::create_directories(dir.Path() / "compiled/scripts");
  WriteWholeFile(dir / "assets/scripts/main.lua", "print 'source'");
  WriteWholeFile(dir / "assets/strings.xml", "<x/>");
  WriteWholeFile(dir / "compiled/scripts/main.lua", "\x1bLua chunk");
  std::vector<TPackMember> members;
  std::string error;
  ASSERT_TRUE(CollectFolders({dir / "assets", dir / "compiled"}, &members, &error)) << error;
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].name, "scripts/main.lua");
  EXPECT_EQ(members[0].data, "\x1bLua chunk");
  EXPECT_EQ(members[1].name, "strings.xml");
  EXPECT_FALSE(CollectFolders({dir / "missing"}, &members, &error));
}
