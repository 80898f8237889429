// The local hiscore file: its plain text, the round trip, and the files it must ignore.
#include "tvlib/hiscore/THiscoreStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
  ASSERT_TRUE(HiscoreStoreSave(cipher, OneTable(), saved));
  EXPECT_FALSE(std::filesystem::exists(dir / "user/hiscore.dat.tmp"));
  HiscoreStoreLoad(cipher, &tables, &logins);
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
  HiscoreStoreLoad(cipher, &tables, &logins);
  EXPECT_TRUE(tables.empty());
  EXPECT_TRUE(logins.empty());
}
