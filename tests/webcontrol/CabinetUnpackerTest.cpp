// The game's cabinet and folder: which entry names may be unpacked, cabinets with good and
// bad names unpacked into a folder, and the folder made private and removed without
// following links.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"
#include "tests/webcontrol/CabinetWriter.h"
#include "webcontrol/CabinetUnpacker.h"
#include "webcontrol/GameFolder.h"

namespace fs = std::filesystem;

namespace {

bool Unpack(const std::string& cabinet, const std::string& folder) {
  return UnpackCabinet(reinterpret_cast<const unsigned char*>(cabinet.data()), cabinet.size(),
                       folder);
}

// Every file under `root`, by its path relative to it.
std::vector<std::string> FilesUnder(const fs::path& root) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), root).string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(CabinetUnpackerTest, OnlyNamesThatStayInsideTheFolderAreSafe) {
  struct TCase {
    const char* name;
    bool safe;
  };
  const TCase cases[] = {
      {"EULA.txt", true},
      {"assets\\settings.xml", true},
      {"assets/strings.xml", true},
      {"a..b\\..c", true},
      {".\\readme.htm", true},
      {"", false},
      {"..", false},
      {"..\\evil.txt", false},
      {"assets\\..\\..\\evil.txt", false},
      {"assets/../evil.txt", false},
      {"assets\\..", false},
      {"\\evil.txt", false},
      {"/tmp/evil.txt", false},
      {"C:\\evil.txt", false},
      {"c:evil.txt", false},
  };
  for (const TCase& c : cases) EXPECT_EQ(IsSafeEntryName(c.name), c.safe) << c.name;
}

TEST(CabinetUnpackerTest, AGoodCabinetIsUnpackedUnderItsNames) {
  TTempDir dir;
  std::string folder = fs::canonical(dir.Path()).string();
  ASSERT_TRUE(Unpack(MakeStoredCabinet({{"EULA.txt", "terms"},
                                        {"assets\\settings.xml", "<settings/>"},
                                        {"assets\\sub\\deep.txt", std::string(70000, 'x')}}),
                     folder));
  EXPECT_EQ(FilesUnder(folder),
            (std::vector<std::string>{"EULA.txt", "assets/settings.xml", "assets/sub/deep.txt"}));
  EXPECT_EQ(ReadWholeFile(folder + "/assets/settings.xml"), "<settings/>");
  EXPECT_EQ(ReadWholeFile(folder + "/assets/sub/deep.txt"), std::string(70000, 'x'));
  struct stat info;
  ASSERT_EQ(stat((folder + "/EULA.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(CabinetUnpackerTest, NamesThatLeaveTheFolderAreRefusedAndTheRestUnpacked) {
  const char* badNames[] = {"..\\evil.txt", "game\\..\\..\\evil.txt", "\\evil.txt",
                            "/evil.txt",    "C:\\evil.txt",           "link\\evil.txt"};
  for (const char* bad : badNames) {
    TTempDir dir;
    fs::path root = fs::canonical(dir.Path());
    fs::create_directories(root / "game");
    fs::create_directories(root / "outside");
    // A link already in the folder that leads out of it.
    fs::create_directory_symlink(root / "outside", root / "game" / "link");
    std::string folder = (root / "game").string();
    EXPECT_FALSE(Unpack(MakeStoredCabinet({{"EULA.txt", "terms"}, {bad, "evil"}}), folder)) << bad;
    EXPECT_EQ(FilesUnder(root / "outside"), std::vector<std::string>{}) << bad;
    EXPECT_FALSE(fs::exists(root / "evil.txt")) << bad;
    EXPECT_FALSE(fs::exists("/evil.txt")) << bad;
    EXPECT_EQ(ReadWholeFile(folder + "/EULA.txt"), "terms") << bad;
  }
}

TEST(CabinetUnpackerTest, WhatIsNoWholeCabinetFails) {
  TTempDir dir;
  std::string folder = dir.Path().string();
  std::string good = MakeStoredCabinet({{"EULA.txt", "terms"}});
  EXPECT_FALSE(Unpack("", folder));
  EXPECT_FALSE(Unpack("MSCF and then nothing a cabinet holds", folder));
  EXPECT_EQ(FilesUnder(folder).size(), 0u);
  // Its data cut short: what was written stays for the folder's removal, and it is a failure.
  EXPECT_FALSE(Unpack(good.substr(0, good.size() - 3), folder));
  // The first file's data cut short, then a file to refuse: the reader is not asked to skip
  // past the damage.
  std::string damaged = MakeStoredCabinet({{"EULA.txt", "terms"}, {"..\\evil.txt", "evil"}});
  EXPECT_FALSE(Unpack(damaged.substr(0, damaged.size() - 6), folder));
}

TEST(GameFolderTest, EachFolderIsNewPrivateAndNamedAsDesigned) {
  TTempDir dir;
  std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  setenv("TMPDIR", dir.Path().c_str(), 1);
  std::string first = MakeGameFolder();
  std::string second = MakeGameFolder();
  setenv("TMPDIR", saved.c_str(), 1);
  if (saved.empty()) unsetenv("TMPDIR");

  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  fs::path path(first);
  EXPECT_EQ(path.parent_path(), fs::canonical(dir.Path()));
  std::string name = path.filename().string();
  EXPECT_EQ(name.rfind("tv_FestraVask.1.0.0.48", 0), 0u) << name;
  EXPECT_EQ(name.size(), std::string("tv_FestraVask.1.0.0.48").size() + 6);
  struct stat info;
  ASSERT_EQ(stat(first.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(GameFolderTest, RemovalTakesLinksButNeverWhatTheyLeadTo) {
  TTempDir dir;
  fs::path root = fs::canonical(dir.Path());
  fs::create_directories(root / "game" / "assets" / "deep");
  fs::create_directories(root / "outside" / "inner");
  WriteWholeFile((root / "outside" / "inner" / "keep.txt").string(), "keep");
  WriteWholeFile((root / "game" / "assets" / "deep" / "file").string(), "x");
  fs::create_directory_symlink(root / "outside", root / "game" / "to_outside");
  fs::create_symlink(root / "outside" / "inner" / "keep.txt", root / "game" / "assets" / "f");
  ASSERT_TRUE(RemoveGameFolder((root / "game").string()));
  EXPECT_FALSE(fs::exists(root / "game"));
  EXPECT_EQ(ReadWholeFile((root / "outside" / "inner" / "keep.txt").string()), "keep");
  // A folder that is already gone counts as removed.
  EXPECT_TRUE(RemoveGameFolder((root / "game").string()));
}
