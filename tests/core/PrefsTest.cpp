// The preferences store: round trips with and without a key, slots, installations, bad files.
#include "tvlib/core/TPrefs.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"

namespace fs = std::filesystem;

class Prefs : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "user");
    SetLogDirectory(dir.Path().c_str());
    SetProgramFolder(dir.Path().c_str());
    SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
    ClearFileIndex();
    MountFileSystem();
    settings.SetSetting("installkey", "/games/festravask");
  }
  std::string File() { return ReadWholeFile(dir / "user/prefs.dat"); }
  std::string Log() { return ReadWholeFile(dir / "logfile.txt"); }
  TTempDir dir;
  TSettings settings;
};

TEST_F(Prefs, RoundTripsWithAndWithoutAKey) {
  for (const char* key : {"", "c2VjcmV0a2V5"}) {
    SCOPED_TRACE(key);
    fs::remove(dir / "user/prefs.dat");
    settings.SetSetting("encryptionkey", key);
    const unsigned char blob[] = {0, 1, 2, 250, 255};
    {
      TPrefs prefs(settings, true);
      prefs.SetString("name", "Velka & <co>", 0, false);
      prefs.SetInt("level", -12, 1, false);
      prefs.SetBinary("blob", blob, sizeof blob, -1, false);
      prefs.SetString("music", "0.64", -1, true);
    }
    EXPECT_EQ(File().back(), '\0');
    EXPECT_EQ(File().find("Velka") == std::string::npos, *key != '\0');
    TPrefs prefs(settings, true);
    EXPECT_EQ(std::string(prefs.GetString("name", "", 0).c_str()), "Velka & <co>");
    EXPECT_EQ(prefs.GetInt("level", 0, 1), -12);
    EXPECT_EQ(prefs.GetInt("level", 7, 0), 7);
    EXPECT_EQ(std::string(prefs.GetString("music", "", -1).c_str()), "0.64");
    unsigned char back[5] = {};
    EXPECT_EQ(prefs.GetBinary("blob", back, sizeof back, -1), 0);
    EXPECT_EQ(std::string(back, back + 5), std::string(blob, blob + 5));
    EXPECT_EQ(prefs.GetUserCount(), 2);
  }
  EXPECT_NE(Log().find("ERROR: No encryption key set before TPrefs construction!"),
            std::string::npos);
}

TEST_F(Prefs, SlotsDefaultsAndBinarySizes) {
  TPrefs prefs(settings, false);
  prefs.SetString("a", "1", 0, false);
  prefs.SetString("b", "", -1, false);
  EXPECT_EQ(std::string(prefs.GetString("b", "dflt", -1).c_str()), "dflt");
  EXPECT_EQ(std::string(prefs.GetString("a", "dflt", 5).c_str()), "dflt");
  prefs.SetString("name", "fourth", 3, false);
  EXPECT_EQ(prefs.GetUserCount(), 4);
  prefs.DeleteUser(4);
  EXPECT_EQ(prefs.GetUserCount(), 4);
  prefs.DeleteUser(1);
  EXPECT_EQ(prefs.GetUserCount(), 3);
  EXPECT_EQ(std::string(prefs.GetString("name", "", 2).c_str()), "fourth");

  const char bytes[] = "0123456789";
  prefs.SetBinary("bin", bytes, 10, 0, false);
  char buffer[10] = {};
  EXPECT_EQ(prefs.GetBinary("bin", nullptr, 0, 0), 10);
  EXPECT_EQ(prefs.GetBinary("bin", buffer, 9, 0), 10);
  EXPECT_EQ(prefs.GetBinary("bin", buffer, 10, 0), 0);
  EXPECT_EQ(std::string(buffer, 10), "0123456789");
  EXPECT_EQ(prefs.GetBinary("none", buffer, 10, 0), -1);
  EXPECT_FALSE(fs::exists(dir / "user/prefs.dat"));  // saving was not enabled
}

TEST_F(Prefs, InstallationsKeepTheirOwnBranches) {
  {
    TPrefs first(settings, true);
    first.SetString("who", "first", -1, true);
  }
  TSettings other;
  other.SetSetting("installkey", "/elsewhere");
  {
    TPrefs second(other, true);
    EXPECT_EQ(std::string(second.GetString("who", "none", -1).c_str()), "none");
    second.SetString("who", "second", -1, true);
  }
  EXPECT_EQ(std::string(TPrefs(settings, false).GetString("who", "", -1).c_str()), "first");
  // A non-empty install.txt names the branch; an empty one picks the last branch.
  WriteWholeFile(dir / "install.txt", "/games/festravask");
  EXPECT_EQ(std::string(TPrefs(other, false).GetString("who", "", -1).c_str()), "first");
  WriteWholeFile(dir / "install.txt", "");
  EXPECT_EQ(std::string(TPrefs(settings, false).GetString("who", "", -1).c_str()), "second");
}

TEST_F(Prefs, UnreadableFilesStartEmptyAndAreKeptAsideOnce) {
  settings.SetSetting("encryptionkey", "c2VjcmV0a2V5");
  {
    TPrefs prefs(settings, true);
    prefs.SetString("score", "100", 0, true);
  }
  const std::string good = File();
  std::string tampered = good;
  tampered[good.find("data=\"") + 10] ^= 1;
  TSettings wrongKey = settings;
  wrongKey.SetSetting("encryptionkey", "b3RoZXJrZXk=");
  struct Case {
    const char* what;
    std::string bytes;
    const TSettings* with;
  } cases[] = {
      {"tampered", tampered, &settings},
      {"truncated", good.substr(0, good.size() / 2), &settings},
      {"oversized", good + std::string(5 << 20, ' '), &settings},
      {"not XML", "\x01\x02 binary junk \xff", &settings},
      {"wrong key", good, &wrongKey},
      {"plain with a key", "<>\n    <install\n        tvinstallkey=\"x\">\n    </install>\n</>\n",
       &settings},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetLogDirectory(dir.Path().c_str());
    fs::remove(dir / "user/prefs.dat.bad");
    WriteWholeFile(dir / "user/prefs.dat", c.bytes);
    TPrefs prefs(*c.with, true);
    EXPECT_EQ(prefs.GetUserCount(), 0);
    EXPECT_NE(Log().find("cannot be read"), std::string::npos);
    prefs.SetString("fresh", "1", -1, true);
    prefs.SetString("fresh", "2", -1, true);
    EXPECT_EQ(ReadWholeFile(dir / "user/prefs.dat.bad"), c.bytes);
  }
  // A plain store cut short is refused too.
  settings.SetSetting("encryptionkey", "");
  WriteWholeFile(dir / "user/prefs.dat", "<>\n    <install\n        tvinstallkey=\"x\">\n");
  EXPECT_EQ(TPrefs(settings, false).GetUserCount(), 0);
}

// Every rejected file is kept, each under a name of its own.
TEST_F(Prefs, EachRejectedFileIsKeptUnderItsOwnName) {
  const std::string rejected[] = {"junk one", "junk two", "junk three"};
  for (const std::string& bytes : rejected) {
    WriteWholeFile(dir / "user/prefs.dat", bytes);
    TPrefs(settings, true).SetString("fresh", "1", -1, true);
  }
  EXPECT_EQ(ReadWholeFile(dir / "user/prefs.dat.bad"), rejected[0]);
  EXPECT_EQ(ReadWholeFile(dir / "user/prefs.dat.bad.1"), rejected[1]);
  EXPECT_EQ(ReadWholeFile(dir / "user/prefs.dat.bad.2"), rejected[2]);
  EXPECT_NE(Log().find("kept as"), std::string::npos);
}

// One start without the cipher key must not cost the enciphered store: it is not saved over,
// and the next start with the key finds it whole.
TEST_F(Prefs, AnEncipheredStoreSurvivesAStartWithoutTheKey) {
  settings.SetSetting("encryptionkey", "c2VjcmV0a2V5");
  TPrefs(settings, true).SetString("score", "100", 0, true);
  const std::string good = File();
  TSettings keyless = settings;
  keyless.SetSetting("encryptionkey", "");
  {
    TPrefs prefs(keyless, true);
    EXPECT_EQ(prefs.GetUserCount(), 0);
    prefs.SetString("score", "5", 0, true);
  }
  EXPECT_EQ(File(), good);
  EXPECT_FALSE(fs::exists(dir / "user/prefs.dat.bad"));
  EXPECT_NE(Log().find("no key is set"), std::string::npos);
  EXPECT_EQ(TPrefs(settings, false).GetInt("score", 0, 0), 100);
}

// Copies of the program saving the same store at once (separate processes) each write a
// whole file: a reader never meets one cut short, and no temporary file is left behind.
TEST_F(Prefs, ConcurrentSavesLeaveWholeFiles) {
  settings.SetSetting("encryptionkey", "");
  std::vector<pid_t> children;
  for (int copy = 0; copy < 2; copy++) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      TPrefs prefs(settings, true);
      for (int i = 0; i < 150; i++) {
        for (int player = 0; player < 40; player++)
          prefs.SetString("value", std::string(50 + copy * 37 + i % 7, 'v').c_str(), player, false);
        prefs.PrefsSave();
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  int reads = 0, cut = 0;
  for (bool running = true; running;) {
    running = false;
    for (pid_t pid : children) running |= waitpid(pid, nullptr, WNOHANG) == 0;
    const std::string bytes = File();
    if (bytes.empty()) continue;
    TXmlNode tree;
    reads++;
    cut += !ParsePrefsStore(bytes.data(), bytes.size(), "", &tree);
  }
  for (pid_t pid : children) waitpid(pid, nullptr, 0);
  EXPECT_GT(reads, 0);
  EXPECT_EQ(cut, 0);
  TPrefs after(settings, false);
  EXPECT_EQ(after.GetUserCount(), 40);
  EXPECT_FALSE(fs::exists(dir / "user/prefs.dat.bad"));
  for (const auto& entry : fs::directory_iterator(dir / "user"))
    EXPECT_EQ(entry.path().filename(), "prefs.dat");
}

TEST_F(Prefs, StoreBytesParseAloneAndCutOnesLeaveTheTreeAlone) {
  settings.SetSetting("encryptionkey", "c2VjcmV0a2V5");
  TPrefs(settings, true).SetString("name", "Velka", 0, true);
  const std::string bytes = File();
  TXmlNode tree;
  ASSERT_TRUE(ParsePrefsStore(bytes.data(), bytes.size(), "c2VjcmV0a2V5", &tree));
  ASSERT_NE(tree.FindChild("install"), nullptr);
  TXmlNode untouched;
  EXPECT_FALSE(ParsePrefsStore(bytes.data(), bytes.size() / 2, "c2VjcmV0a2V5", &untouched));
  EXPECT_FALSE(ParsePrefsStore(bytes.data(), bytes.size(), "", &untouched));
  EXPECT_EQ(untouched.FindChild("install"), nullptr);
}

TEST(PrefsChecksum, DesignedExample) {
  EXPECT_EQ(PrefsChecksum("AB"), 16961);
  EXPECT_EQ(PrefsChecksum(""), 0);
  EXPECT_EQ(PrefsChecksum("\xff"), -1);  // bytes are sign-extended
}
