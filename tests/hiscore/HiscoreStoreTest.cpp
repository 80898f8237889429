// The local hiscore file: its plain text, the round trip, and the files it must ignore.
#include "tvlib/hiscore/THiscoreStore.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/core/TFileIndex.h"

namespace {

constexpr char kKey[] = "Hw7pKd2RtXbQ";
constexpr char kMismatch[] = "HiScores: Checksum did not match! Ignoring saved score data.";

std::string Encipher(const TCipher& cipher, const std::string& bytes) {
  int size = cipher.Encrypt(bytes.data(), static_cast<int>(bytes.size()), nullptr, 0, false);
  std::string out(static_cast<size_t>(size), '\0');
  cipher.Encrypt(bytes.data(), static_cast<int>(bytes.size()), out.data(), size, false);
  return out;
}

// A file of the store's form around any enciphered text: the checksum block appended.
std::string WithChecksum(const TCipher& cipher, const std::string& enciphered) {
  uint32_t sum =
      HiscoreStoreChecksum(reinterpret_cast<const uint8_t*>(enciphered.data()), enciphered.size());
  std::string word(reinterpret_cast<const char*>(&sum), 4);  // little-endian machine
  return enciphered + Encipher(cipher, word);
}

std::string StoreFile(const TCipher& cipher, const std::string& plain) {
  return WithChecksum(cipher, Encipher(cipher, plain + '\0'));
}

THiscoreTables OneTable() {
  THiscoreTables tables;
  auto table = std::make_unique<THiscoreTable>();
  table->name = "festravask_career";
  THiscoreEntry first;
  first.rank = 1;
  first.score = 900;
  first.name = "Velka";
  first.guid = "0123456789abcdef0123456789abcdef";
  first.gameData = "3.2";
  first.version = "1.0.0.48";
  first.submitted = true;
  THiscoreEntry second;
  second.rank = 2;
  second.score = 40;
  second.name = "Ann <&> \"Bo\"";
  table->entries = {first, second};
  tables["festravask_career"] = std::move(table);
  return tables;
}

class HiscoreStore : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "user");
    SetLogDirectory(dir.Path().c_str());
    SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
    ClearFileIndex();
    MountFileSystem();
  }
  // Parses `bytes`; the tables' count, or -1 when the file was rejected.
  int Parse(const std::string& bytes) {
    tables.clear();
    logins.clear();
    bool ok = ParseHiscoreStore(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                cipher, &tables, &logins);
    return ok ? static_cast<int>(tables.size()) : -1;
  }
  std::string Log() { return ReadWholeFile(dir / "logfile.txt"); }
  // The names in the user folder, sorted.
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "user"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TTempDir dir;
  TCipher cipher{kKey};
  THiscoreTables tables;
  THiscoreLogins logins;
};

}  // namespace

TEST_F(HiscoreStore, WritesEachElementBehindTheDeclaration) {
  THiscoreLogins saved;
  saved["Velka"] = {"Velka", "velka@web", "pw"};
  std::string file = BuildHiscoreStore(cipher, OneTable(), saved);
  ASSERT_EQ(file.size() % 8, 0u);
  int size = static_cast<int>(file.size()) - 8;
  std::string plain(static_cast<size_t>(cipher.Decrypt(file.data(), size, nullptr, 0, false)),
                    '\0');
  cipher.Decrypt(file.data(), size, plain.data(), static_cast<int>(plain.size()), false);
  EXPECT_EQ(plain, std::string(
                       "<?xml version=\"1.0\"?>\n"
                       "<user\n    player=\"Velka\"\n    name=\"velka@web\"\n    pass=\"pw\">\n"
                       "</user>\n"
                       "<score\n    name=\"festravask_career\">\n"
                       "    <row\n        rank=\"1\"\n        score=\"900\"\n        submit=\"1\"\n"
                       "        guid=\"0123456789abcdef0123456789abcdef\"\n"
                       "        name=\"Velka\"\n        gameData=\"3.2\"\n"
                       "        version=\"1.0.0.48\">\n    </row>\n"
                       "    <row\n        rank=\"2\"\n        score=\"40\"\n        submit=\"0\"\n"
                       "        name=\"Ann &lt;&amp;&gt; &quot;Bo&quot;\">\n    </row>\n"
                       "</score>\n") +
                       '\0');
}

TEST_F(HiscoreStore, SavesAtomicallyAndLoadsBack) {
  THiscoreLogins saved;
  saved["Velka"] = {"Velka", "velka@web", "p&ss"};
  bool keep = false;
  ASSERT_TRUE(HiscoreStoreSave(cipher, OneTable(), saved, &keep));
  EXPECT_EQ(Names(), std::vector<std::string>{"hiscore.dat"});
  // It holds a password: only its owner reads it.
  EXPECT_EQ(std::filesystem::status(dir / "user/hiscore.dat").permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_TRUE(HiscoreStoreLoad(cipher, &tables, &logins));
  ASSERT_EQ(tables.count("festravask_career"), 1u);
  const auto& entries = tables["festravask_career"]->entries;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].score, 900);
  EXPECT_TRUE(entries[0].submitted);
  EXPECT_TRUE(entries[0].anonymous);
  EXPECT_EQ(std::string(entries[0].version.c_str()), "1.0.0.48");
  EXPECT_EQ(std::string(entries[1].name.c_str()), "Ann <&> \"Bo\"");
  EXPECT_FALSE(entries[1].submitted);
  EXPECT_EQ(std::string(logins["Velka"].password.c_str()), "p&ss");
}

TEST_F(HiscoreStore, ReadsRowsAsStoredAndDropsEmptyTables) {
  std::string plain =
      "<?xml version=\"1.0\"?>\n"
      "<score name=\"empty\"></score>\n"
      "<score name=\"m\"><row rank=\"7\" score=\"5\" submit=\"2\" name=\"a\"/>"
      "<row rank=\"3\" score=\"9\" submit=\"0\" name=\"b\"/></score>\n";
  ASSERT_EQ(Parse(StoreFile(cipher, plain)), 1);
  const auto& entries = tables["m"]->entries;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].rank, 7);  // not re-sorted
  EXPECT_TRUE(entries[0].submitted);
  EXPECT_EQ(entries[1].rank, 3);
  EXPECT_FALSE(entries[1].submitted);
}

TEST_F(HiscoreStore, IgnoresTamperedAndMalformedFiles) {
  std::string good = BuildHiscoreStore(cipher, OneTable(), {});
  ASSERT_EQ(Parse(good), 1);
  std::string oneByte = good;
  oneByte[5] ^= 0x40;
  std::string lastBlock = good;
  lastBlock.replace(lastBlock.size() - 8, 8, Encipher(cipher, std::string("\1\2\3\4", 4)));
  // A valid checksum over a text whose padding is none of the cipher's: the last block of the
  // text replaced by its first.
  std::string enciphered = good.substr(0, good.size() - 8);
  enciphered.replace(enciphered.size() - 8, 8, enciphered.substr(0, 8));
  std::string badPadding = WithChecksum(cipher, enciphered);
  std::string ragged = WithChecksum(cipher, enciphered.substr(0, enciphered.size() - 3));
  std::string otherKey = BuildHiscoreStore(TCipher("b3RoZXJrZXk="), OneTable(), {});
  for (const std::string* bad : {&oneByte, &lastBlock, &badPadding, &ragged, &otherKey}) {
    EXPECT_EQ(Parse(*bad), -1);
    EXPECT_TRUE(tables.empty());
  }
  EXPECT_NE(Log().find(kMismatch), std::string::npos);
  EXPECT_EQ(Parse(good.substr(0, 8)), 0);  // too short to hold anything: no log line needed
  EXPECT_EQ(Parse(""), 0);
}

TEST_F(HiscoreStore, ParsesOnlyTheTextBeforeItsTerminator) {
  std::string plain =
      "<?xml version=\"1.0\"?>\n<score name=\"m\"><row score=\"1\" name=\"a\"/></score>";
  plain += '\0';
  plain += "<score name=\"hidden\"><row score=\"2\"/></score>";
  ASSERT_EQ(Parse(StoreFile(cipher, plain)), 1);
  EXPECT_EQ(tables.count("hidden"), 0u);
}

TEST_F(HiscoreStore, ReadsAFileOfAnEarlierBuild) {
  std::filesystem::copy_file(TV_TEST_DATA "/hiscore/hiscore.dat", dir / "user/hiscore.dat");
  HiscoreStoreLoad(cipher, &tables, &logins);
  ASSERT_EQ(tables.count("festravask_career"), 1u);
  const auto& entries = tables["festravask_career"]->entries;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].score, 900);
  EXPECT_TRUE(entries[0].submitted);
  EXPECT_EQ(std::string(entries[0].guid.c_str()), "0123456789abcdef0123456789abcdef");
  EXPECT_EQ(std::string(entries[1].name.c_str()), "Ann");
  EXPECT_EQ(std::string(entries[1].serverData.c_str()), "<x/>");
  EXPECT_EQ(std::string(logins["Velka"].account.c_str()), "velka@web");
}

TEST_F(HiscoreStore, AMissingFileLoadsNothing) {
  EXPECT_TRUE(HiscoreStoreLoad(cipher, &tables, &logins));
  EXPECT_TRUE(tables.empty());
  EXPECT_TRUE(logins.empty());
}

// A rejected file (it fails its checksum, or is larger than any store) is never saved over:
// the first save keeps it aside under a numbered name, and the log says where.
TEST_F(HiscoreStore, KeepsARejectedFileAsideBeforeSavingOverIt) {
  std::string corrupt = BuildHiscoreStore(cipher, OneTable(), {});
  corrupt[3] ^= 1;
  const std::string oversize(20 << 20, 'x');
  for (const std::string* bad : {static_cast<const std::string*>(&corrupt), &oversize}) {
    WriteWholeFile(dir / "user/hiscore.dat", *bad);
    std::filesystem::remove(dir / "user/hiscore.dat.bad");
    tables.clear();
    bool keep = !HiscoreStoreLoad(cipher, &tables, &logins);
    EXPECT_TRUE(keep);
    EXPECT_TRUE(tables.empty());
    ASSERT_TRUE(HiscoreStoreSave(cipher, OneTable(), {}, &keep));
    EXPECT_FALSE(keep);
    EXPECT_EQ(ReadWholeFile(dir / "user/hiscore.dat.bad"), *bad);
    EXPECT_NE(Log().find("The unreadable hiscores are kept as " + dir / "user/hiscore.dat.bad"),
              std::string::npos);
    EXPECT_TRUE(HiscoreStoreLoad(cipher, &tables, &logins));
    EXPECT_EQ(tables.count("festravask_career"), 1u);
  }
  EXPECT_NE(Log().find("is larger than"), std::string::npos);
  // A second rejected file takes the next free name.
  WriteWholeFile(dir / "user/hiscore.dat", corrupt);
  bool keep = !HiscoreStoreLoad(cipher, &tables, &logins);
  ASSERT_TRUE(HiscoreStoreSave(cipher, OneTable(), {}, &keep));
  EXPECT_EQ(ReadWholeFile(dir / "user/hiscore.dat.bad.1"), corrupt);
}

TEST_F(HiscoreStore, RemovesWhatAKilledSaveLeftAtStart) {
  bool keep = false;
  ASSERT_TRUE(HiscoreStoreSave(cipher, OneTable(), {}, &keep));
  WriteWholeFile(dir / "user/hiscore.dat.tmp.Ab12Cd", "half a fi");
  WriteWholeFile(dir / "user/prefs.dat.tmp.Ab12Cd", "another file's");
  EXPECT_TRUE(HiscoreStoreLoad(cipher, &tables, &logins));
  EXPECT_EQ(tables.size(), 1u);
  EXPECT_EQ(Names(), (std::vector<std::string>{"hiscore.dat", "prefs.dat.tmp.Ab12Cd"}));
}

// Two copies of the game saving at once, 1,000 times each: a reader meets a whole file every
// time, every save lands, and nothing is left beside the file.
TEST_F(HiscoreStore, TwoCopiesSavingAtOnceLeaveWholeFiles) {
  constexpr int kSaves = 1000;
  std::vector<pid_t> children;
  for (int copy = 0; copy < 2; copy++) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      THiscoreTables mine = OneTable();
      int failed = 0;
      for (int i = 0; i < kSaves; i++) {
        mine["festravask_career"]->entries[0].score = copy * kSaves + i;
        mine["festravask_career"]->entries[1].name = std::string(1 + i % 300, 'a' + copy).c_str();
        bool keep = false;
        failed += !HiscoreStoreSave(cipher, mine, {}, &keep);
      }
      _exit(failed > 0 ? 1 : 0);
    }
    children.push_back(pid);
  }
  int reads = 0, torn = 0;
  for (bool running = true; running;) {
    running = false;
    for (pid_t pid : children) running |= waitpid(pid, nullptr, WNOHANG) == 0;
    const std::string bytes = ReadWholeFile(dir / "user/hiscore.dat");
    if (bytes.empty()) continue;
    reads++;
    torn += Parse(bytes) != 1;
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
  }
  EXPECT_GT(reads, 0);
  EXPECT_EQ(torn, 0);
  ASSERT_EQ(Parse(ReadWholeFile(dir / "user/hiscore.dat")), 1);
  const int last = tables["festravask_career"]->entries[0].score;
  EXPECT_TRUE(last == kSaves - 1 || last == 2 * kSaves - 1) << last;
  EXPECT_EQ(Names(), std::vector<std::string>{"hiscore.dat"});
}
