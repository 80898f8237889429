// The main menu on its real layout: the progress questions its scripts ask, PostCreate's
// children, starting levels, showing again after a level, the sparkles and the keys.
#include <gtest/gtest.h>

#include "tests/game/frontend/ScreenFixture.h"
#include "tvlib/hiscore/TTvHiscores.h"
#include "tvlib/media/TSound.h"

namespace {

constexpr char kMenuLayout[] = "scripts/mainmenu.lua";

class MainMenuTest : public ScreenTest {
 protected:
  TMainMenu* OpenMenu() {
    OpenScreen(kMenuLayout);
    return Find<TMainMenu>("mainmenu");
  }
  TTvHiscores& Hiscores() { return *TGameSettings::Get()->GetHiscores(); }
  // Local entries of a table by its id; the table selected afterwards is `id`.
  int LocalEntries(const char* id) {
    Hiscores().SetQueryField(TTvHiscores::kFieldMode, id);
    return Hiscores().GetScoreCount(true);
  }
  void AddLocalEntry(const char* id) {
    Hiscores().SetQueryField(TTvHiscores::kFieldMode, id);
    Hiscores().AddLocalScore(100, false, "", nullptr);
  }
};

TEST_F(MainMenuTest, AnswersTheScriptsQuestionsOnThePlayersProgress) {
  SetPlayerInt("lastMap", 1);
  SetPlayerInt("lastLevel", 10);
  SetPlayerInt("Expert1.10", 1);
  SetPlayerInt("Score1.4", 1234);
  ASSERT_NE(OpenMenu(), nullptr);
  EXPECT_EQ(LuaNumber("GetLevelStatus(2, 1)"), kLevelNext);
  EXPECT_EQ(LuaNumber("GetLevelStatus(1, 10)"), kLevelExpert);
  EXPECT_EQ(LuaNumber("GetLevelStatus(1, 9)"), kLevelDone);
  EXPECT_EQ(LuaNumber("GetLevelStatus(2, 2)"), kLevelLocked);
  EXPECT_EQ(LuaNumber("GetBestScore(1, 4)"), 1234);
  EXPECT_EQ(LuaNumber("GetBestScore(1, 5)"), 0);
  EXPECT_EQ(LuaNumber("GetCurrentVenue()"), 1);
  EXPECT_EQ(LuaNumber("GetCurrentLevel()"), 10);
  EXPECT_EQ(LuaNumber("GetCurrentUser()"), Player());
  EXPECT_STREQ(LuaString("GetUser(-1)").c_str(), "currentUser");
  EXPECT_STREQ(LuaString("GetUser(0)").c_str(), "user1");
  EXPECT_STREQ(LuaString("GetUser(5)").c_str(), "user1");
  EXPECT_EQ(LuaNumber("IsFirstTime()"), 1);
  Script().DoLuaString("SetWelcomeName() SetComicOff()");
  EXPECT_EQ(LuaNumber("IsFirstTime()"), 0);
  EXPECT_EQ(Prefs().GetInt("isFirstTime", 7, Player()), 0);
}

TEST_F(MainMenuTest, PostCreateHidesMoreGamesWritesTheVersionAndTicksTheMuteBox) {
  SetPlayerInt("soundoff", 1);
  SetPlayerInt("inPauseMenu", 1);
  TMainMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Manager().GetFocus(), menu);
  EXPECT_EQ(Prefs().GetInt("inPauseMenu", 7, Player()), 0);
  ASSERT_NE(Find<TWindow>("moregames"), nullptr);
  EXPECT_FALSE(Find<TWindow>("moregames")->IsVisible());
  ASSERT_NE(Find<TText>("version"), nullptr);
  EXPECT_STREQ(Find<TText>("version")->GetText().c_str(), platform->GetVersionString().c_str());
  ASSERT_NE(Find<TButton>("mutebox"), nullptr);
  EXPECT_TRUE(Find<TButton>("mutebox")->IsChecked());
  // With other games to show, the button stays.
  Manager().PopModal();
  PutAsset("xsell/xsell.xml", "<xsell/>");
  ASSERT_NE(OpenMenu(), nullptr);
  EXPECT_TRUE(Find<TWindow>("moregames")->IsVisible());
}

TEST_F(MainMenuTest, ToLevelStartsTheStoryOrEndlessScriptAndRestartLevelSwapsItsArguments) {
  PutAsset("scripts/game2.3.lua", "-- a level");
  PutAsset("scripts/arcade4.lua", "-- an endless level");
  ASSERT_NE(OpenMenu(), nullptr);
  const TString menu = TopName();
  Script().DoLuaString("RestartLevel(3, 2)");
  EXPECT_STREQ(TopName().c_str(), "assets/scripts/game2.3.lua");
  Manager().PopModal();
  // A level the package lacks opens nothing.
  Script().DoLuaString("ToLevel(5, 5)");
  EXPECT_STREQ(TopName().c_str(), menu.c_str());
  TGameSettings::Get()->SetCurrentGameMode(1);
  Script().DoLuaString("ToLevel(4, 7)");
  EXPECT_STREQ(TopName().c_str(), "assets/scripts/arcade4.lua");
  EXPECT_EQ(Prefs().GetInt("arcadeLevel", 0, -1), 4);
}

TEST_F(MainMenuTest, HiddenMenuShowsAgainWithItsMusicOnceItsScreenIsOnTop) {
  PutAsset("scripts/game1.1.lua", "-- a level");
  TMainMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  const auto music = TSound::Get(kMenuMusicFile, false, TSoundManager::kGroupMusic);
  const int playsBefore = music->GetData().mNextHandle;
  Script().DoLuaString("HideMainMenu() ToLevel(1, 1)");
  StopMenuMusic();  // as the level does
  Tick();
  EXPECT_FALSE(menu->IsVisible());  // its task rests under the level
  Manager().PopModal();
  Tick();
  EXPECT_TRUE(menu->IsVisible());
  EXPECT_EQ(music->GetData().mNextHandle, playsBefore + 1);
}

TEST_F(MainMenuTest, SparklesStartEveryHalfSecondAcrossTheClocksWrap) {
  clock.now += 0xFFFFFF00u - TPlatform::GetTime();  // the clock wraps during the ticks
  TMainMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 31; ++i) Tick(16);  // 496 ms
  EXPECT_EQ(menu->GetOverlay().GetEffects().GetCount(), 0);
  Tick(16);
  EXPECT_EQ(menu->GetOverlay().GetEffects().GetCount(), 1);
  EXPECT_FLOAT_EQ(menu->GetOverlay().GetCountdown(), TMainMenuOverlay::kSparkleInterval);
  // The sparkles are drawn above every screen.
  EXPECT_TRUE(Manager().RemoveOverlay(&menu->GetOverlay()));
  Manager().AddOverlay(&menu->GetOverlay());
}

TEST_F(MainMenuTest, ControlKeysOpenTheEndlessMapAndWipeTablesOnlyInCheatMode) {
  TMainMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  const TString screen = TopName();
  Key('A', 0);
  Key('A', kKeyModCtrl | kKeyModAlt);
  EXPECT_STREQ(TopName().c_str(), screen.c_str());
  EXPECT_TRUE(menu->OnKeyDown('Q', 0));  // every key counts as handled
  Key('a', kKeyModCtrl);
  EXPECT_STREQ(TopName().c_str(), kArcadeMapScript);
  Manager().PopModal();
  Manager().SetFocus(menu);

  TGameSettings::Get()->SetCurrentGameMode(0);
  AddLocalEntry(HiscoreModeId(0));
  AddLocalEntry(kCareerTableId);
  AddLocalEntry(kEndlessTableId);
  TGameSettings::Get()->SetCurrentGameMode(0);
  Key('S', kKeyModCtrl);  // not a tester: nothing is wiped
  EXPECT_EQ(LocalEntries(kCareerTableId), 1);
  EXPECT_EQ(LocalEntries(kEndlessTableId), 1);
  TGameSettings::Get()->SetCurrentGameMode(0);
  SetCheatMode(true);
  Key('S', kKeyModCtrl);
  // The profile's own mode is selected again: its table is the one the service shows.
  EXPECT_EQ(Hiscores().GetScoreCount(true), 1);
  EXPECT_EQ(LocalEntries(kCareerTableId), 0);
  EXPECT_EQ(LocalEntries(kEndlessTableId), 0);
}

}  // namespace
