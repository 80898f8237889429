// The profile and settings service: players made, renamed, deleted and switched, defaults,
// every write on disk at once, volumes reaching the sound groups, and its script functions.
#include "game/shell/TGameSettings.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/game/shell/ShellFixture.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/hiscore/TTvHiscores.h"

namespace {

class GameSettingsTest : public ShellTest {
 protected:
  GameSettingsTest() { TGameSettings::Recreate(); }
  ~GameSettingsTest() override { TGameSettings::Destroy(); }

  TGameSettings& Settings() { return *TGameSettings::Get(); }
  // A value as the file on disk holds it now.
  int OnDisk(const char* key, int defaultValue, int player) {
    TPrefs disk(mData.settings, false);
    return disk.GetInt(key, defaultValue, player);
  }
  std::string NameOnDisk(int player) {
    TPrefs disk(mData.settings, false);
    return disk.GetString("name", "", player).c_str();
  }
  int UsersOnDisk() {
    TPrefs disk(mData.settings, false);
    return disk.GetUserCount();
  }
  float Group(int group) { return mSound->GetGroupVolume(group); }
  float Master() { return mSound->GetGroupVolume(-1); }
};

TEST_F(GameSettingsTest, FirstStartHasNoUserFullScreenAndDefaultVolumes) {
  EXPECT_EQ(Settings().GetNumUsers(), 0);
  EXPECT_EQ(Settings().GetCurrentUserIndex(), -1);
  EXPECT_EQ(OnDisk("curuser", 7, -1), -1);  // the start-up's selection is already saved
  Settings().SetupDisplay();
  EXPECT_EQ(mDisplay->Count("SetDisplay(800,600,1,0)"), 1);
  EXPECT_FLOAT_EQ(Group(1000), 0.75f);
  EXPECT_FLOAT_EQ(Group(0), 0.75f);
  EXPECT_FLOAT_EQ(Group(1001), 0.64f);
  EXPECT_FLOAT_EQ(Master(), 1.0f);
  EXPECT_EQ(Settings().GetCurrentGameMode(), 0);
  EXPECT_EQ(Settings().GetAnonymousMode(), 0);
  EXPECT_STREQ(mData.settings.GetSetting("encryptionkey").c_str(), "Hw7pKd2RtXbQ");
  EXPECT_FALSE(Settings().IsCheatMode());
}

TEST_F(GameSettingsTest, StoredWindowedChoiceStartsWindowed) {
  Settings().GetPrefs()->SetInt("fullscreen", 0, -1, true);
  Settings().SetupDisplay();
  EXPECT_EQ(mDisplay->Count("SetDisplay(800,600,0,0)"), 1);
}

TEST_F(GameSettingsTest, NewUsersCopyTheCurrentUsersSoundAndBecomeCurrent) {
  Settings().CreateNewUser("Velka");
  EXPECT_EQ(Settings().GetCurrentUserIndex(), 0);
  EXPECT_EQ(NameOnDisk(0), "Velka");
  EXPECT_EQ(OnDisk("soundlevel", 0, 0), 750);
  EXPECT_EQ(OnDisk("musiclevel", 0, 0), 640);
  EXPECT_EQ(OnDisk("soundoff", 9, 0), 0);

  Settings().GetPrefs()->SetInt("soundlevel", 300, 0, true);
  Settings().GetPrefs()->SetInt("musiclevel", 200, 0, true);
  Settings().ToggleSoundMute();
  Settings().CreateNewUser("Red");
  EXPECT_EQ(OnDisk("curuser", 7, -1), 1);
  EXPECT_EQ(OnDisk("soundlevel", 0, 1), 300);
  EXPECT_EQ(OnDisk("musiclevel", 0, 1), 200);
  EXPECT_EQ(OnDisk("soundoff", 0, 1), 1);
  EXPECT_STREQ(Settings().GetCurrentUserName().c_str(), "Red");
  EXPECT_FLOAT_EQ(Group(1000), 0.0f);  // muted: the master volume is 0
  EXPECT_FLOAT_EQ(Group(1001), 0.0f);
}

TEST_F(GameSettingsTest, RenameSwitchAndNamesInUse) {
  Settings().CreateNewUser("Velka");
  Settings().CreateNewUser("Zia");
  Settings().ChangeCurrentUserName("Zia Two");
  EXPECT_EQ(NameOnDisk(1), "Zia Two");
  Settings().SetCurrentUser(0);
  EXPECT_EQ(OnDisk("curuser", 7, -1), 0);
  EXPECT_STREQ(Settings().GetCurrentUserName().c_str(), "Velka");
  EXPECT_TRUE(Settings().IsNameInUse("Zia Two"));
  EXPECT_FALSE(Settings().IsNameInUse("velka"));  // letter case counts
  EXPECT_FALSE(Settings().IsNameInUse("Zia"));
  // Out of range, either side: no user is current.
  for (int index : {2, 5, -1, -3}) {
    SCOPED_TRACE(index);
    Settings().SetCurrentUser(0);
    Settings().SetCurrentUser(index);
    EXPECT_EQ(OnDisk("curuser", 7, -1), -1);
  }
}

TEST_F(GameSettingsTest, DeletingMovesTheSelectionBack) {
  struct TCase {
    int users;
    int current;
    int deleted;
    int expectedCurrent;
    int expectedUsers;
  };
  const TCase cases[] = {
      {2, 0, 0, 0, 1},   // the remaining user, now index 0
      {1, 0, 0, -1, 0},  // none left
      {3, 2, 2, 1, 2},   // the previous user
      {3, 1, 7, -1, 3},  // out of range: nothing removed, index 6 clears the selection
      {3, 0, -1, 2, 3},  // negative: nothing removed, the last user is selected
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.users << " users, delete " << c.deleted);
    TGameSettings::Destroy();
    std::filesystem::remove(mDir / "user/prefs.dat");
    TGameSettings::Recreate();
    for (int i = 0; i < c.users; ++i) Settings().CreateNewUser(("P" + std::to_string(i)).c_str());
    Settings().SetCurrentUser(c.current);
    Settings().DeleteUser(c.deleted);
    EXPECT_EQ(UsersOnDisk(), c.expectedUsers);
    EXPECT_EQ(OnDisk("curuser", 7, -1), c.expectedCurrent);
  }
}

TEST_F(GameSettingsTest, TheLastUserIsCurrentAgainInTheNextRun) {
  Settings().CreateNewUser("Velka");
  Settings().CreateNewUser("Zia");
  Settings().GetPrefs()->SetInt("musiclevel", 100, 1, true);
  Settings().SetCurrentUser(0);
  Settings().SetCurrentUser(1);
  TGameSettings::Recreate();
  EXPECT_EQ(Settings().GetCurrentUserIndex(), 1);
  EXPECT_STREQ(Settings().GetCurrentUserName().c_str(), "Zia");
  EXPECT_FLOAT_EQ(Group(1001), 0.1f);
}

TEST_F(GameSettingsTest, AStoreDamagedToANegativeUserLeavesNoUserCurrent) {
  Settings().CreateNewUser("Velka");
  Settings().GetPrefs()->SetInt("curuser", -4, -1, true);
  TGameSettings::Recreate();
  EXPECT_EQ(Settings().GetCurrentUserIndex(), -1);
  EXPECT_EQ(OnDisk("curuser", 7, -1), -1);
}

TEST_F(GameSettingsTest, MuteTwiceRestoresTheMasterVolume) {
  Settings().CreateNewUser("Velka");
  Settings().ToggleSoundMute();
  EXPECT_EQ(OnDisk("soundoff", 9, 0), 1);
  EXPECT_FLOAT_EQ(Master(), 0.0f);
  Settings().ToggleSoundMute();
  EXPECT_EQ(OnDisk("soundoff", 9, 0), 0);
  EXPECT_FLOAT_EQ(Master(), 1.0f);
}

TEST_F(GameSettingsTest, FullScreenToggleAndStore) {
  mDisplay->mFullscreen = true;
  EXPECT_TRUE(Settings().ToggleFullScreen());
  EXPECT_FALSE(Settings().IsFullScreen());
  EXPECT_EQ(OnDisk("fullscreen", 7, -1), 0);
  mDisplay->mFullscreen = true;
  Settings().StoreFullScreen();
  EXPECT_EQ(OnDisk("fullscreen", 7, -1), 1);
}

TEST_F(GameSettingsTest, GameModesAndAnonymousModes) {
  Settings().SetCurrentGameMode(3);
  EXPECT_EQ(Settings().GetCurrentGameMode(), 3);
  for (int bad : {4, -1}) {
    Settings().SetCurrentGameMode(bad);
    EXPECT_EQ(Settings().GetCurrentGameMode(), 3);
  }
  const int anonymous[][2] = {{1, 1}, {2, 2}, {3, 0}, {-1, 0}, {0, 0}};
  for (const auto& a : anonymous) {
    Settings().SetAnonymousMode(a[0]);
    EXPECT_EQ(Settings().GetAnonymousMode(), a[1]);
  }
}

TEST_F(GameSettingsTest, TheHiscoreServiceFollowsTheModeAndThePlayer) {
  TTvHiscores& hiscores = *Settings().GetHiscores();
  Settings().CreateNewUser("Velka");
  Settings().SetCurrentGameMode(3);
  hiscores.AddLocalScore(500, false, nullptr, nullptr);
  Settings().SetCurrentGameMode(4);  // ignored: still the endless table
  EXPECT_EQ(hiscores.GetScoreCount(true), 1);
  char name[32] = {};
  ASSERT_TRUE(
      hiscores.GetScoreEntry(true, 0, nullptr, name, sizeof name, nullptr, nullptr, nullptr, 0));
  EXPECT_STREQ(name, "Velka");
  Settings().SetCurrentGameMode(0);
  EXPECT_EQ(hiscores.GetScoreCount(true), 0);
}

TEST_F(GameSettingsTest, OneInstanceBetweenRecreateAndDestroy) {
  TGameSettings* first = TGameSettings::Get();
  ASSERT_NE(first, nullptr);
  TGameSettings::Recreate();
  EXPECT_NE(TGameSettings::Get(), nullptr);
  TGameSettings::Destroy();
  EXPECT_EQ(TGameSettings::Get(), nullptr);
  TGameSettings::Destroy();  // nothing to destroy
  EXPECT_EQ(TGameSettings::Get(), nullptr);
}

TEST_F(GameSettingsTest, EverySaveLeavesOneWholeFileAndNoTemporaryOnes) {
  for (int i = 0; i < 5; ++i) Settings().CreateNewUser(("P" + std::to_string(i)).c_str());
  Settings().DeleteUser(2);
  Settings().ToggleSoundMute();
  for (const auto& entry : std::filesystem::directory_iterator(mDir / "user")) {
    std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "prefs.dat" || name == "hiscore.dat") << name;
  }
  EXPECT_EQ(UsersOnDisk(), 4);
  EXPECT_EQ(NameOnDisk(2), "P3");
}

TEST_F(GameSettingsTest, ScriptFunctions) {
  EXPECT_STREQ(Lua("CreateNewUser('Velka'); CreateNewUser('Zia'); result = GetNumUsers()").c_str(),
               "2");
  EXPECT_STREQ(Lua("result = tostring(IsNameInUse('Zia'))").c_str(), "true");
  Lua("ChangeCurrentUserName('Blue'); SetCurrentUser(0.9)");  // numbers truncate
  EXPECT_EQ(NameOnDisk(1), "Blue");
  EXPECT_EQ(Settings().GetCurrentUserIndex(), 0);
  Lua("DeleteUser(0); SetCurrentGameMode(2); ToggleSoundMute()");
  EXPECT_EQ(UsersOnDisk(), 1);
  EXPECT_EQ(Settings().GetCurrentGameMode(), 2);
  EXPECT_EQ(OnDisk("soundoff", 9, 0), 1);
  mDisplay->mFullscreen = false;
  EXPECT_STREQ(Lua("result = tostring(ToggleFullScreen())").c_str(), "true");
  EXPECT_EQ(OnDisk("fullscreen", 7, -1), 1);
  // Once the service is gone its globals are gone, and one a script kept answers nothing.
  Lua("kept = GetNumUsers");
  TGameSettings::Destroy();
  EXPECT_STREQ(
      Lua("result = (GetNumUsers == nil and kept() == nil) and 'silent' or 'answered'").c_str(),
      "silent");
}

}  // namespace
