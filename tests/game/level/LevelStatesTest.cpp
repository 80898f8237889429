// The level's tick and states on the harness: the elapsed-time rules, the way from loading
// through the introduction and the planning choice to serving, closing and the end, the pause
// (by key, by the pause button's script command and by the game loop's request), the script
// functions once the level has gone, the depth order of the room and whole frames.
#include <gtest/gtest.h>

#include "game/level/PlanningRecord.h"
#include "game/level/RoomRules.h"
#include "game/level/TLoadingBox.h"
#include "game/room/TFestraAnimSprite.h"
#include "game/room/TScoreTable.h"
#include "tests/game/level/LevelFixture.h"
#include "tvlib/ui/TMessage.h"

namespace {

class LevelStatesTest : public LevelTest {
 protected:
  TGameLevel* LoadBasic() { return StartLoaded("level_basic.lua", "scripts/game1.2.lua"); }
  void Continue(TGameLevel* level) {
    TMessage message(55, "continue");
    level->OnMessage(&message);
  }
  // The selection dialog's hand-over, as it ends: the record stored, "selectionDone" set and
  // the dialog gone.
  void FinishSelection() {
    StorePlanningRecord(Prefs(), TPlanningRecord{});
    Prefs().SetInt(kSelectionDoneKey, 1, -1, true);
    Manager().PopModal();
  }
};

TEST_F(LevelStatesTest, ElapsedTimeIsClampedAndCountsNothingAfterAStepBack) {
  TGameLevel* level = StartLevel("assets/scripts/game1.2.lua");
  ASSERT_EQ(level, nullptr);  // not there yet
  PutFixture("level_basic.lua", "scripts/game1.2.lua");
  level = StartLevel("assets/scripts/game1.2.lua");
  ASSERT_NE(level, nullptr);
  RunTicks(1);
  EXPECT_EQ(level->GetLastDt(), 0);  // the first tick counts nothing
  RunTicks(1);
  EXPECT_EQ(level->GetLastDt(), 20);  // the task runs every 20 ms
  struct TCase {
    int64_t step;
    int dt;
  };
  const TCase cases[] = {{20, 20}, {200, 200}, {201, 0}, {250, 0}, {1, 1}, {-1000, 0}, {30, 30}};
  int played = level->GetPlayTime();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.step);
    clock.now = static_cast<uint32_t>(static_cast<int64_t>(clock.now) + c.step);
    level->Tick();
    EXPECT_EQ(level->GetLastDt(), c.dt);
    played += c.dt;
    EXPECT_EQ(level->GetPlayTime(), played);
  }
}

TEST_F(LevelStatesTest, FromTheIntroThroughPlanningAndServingToLost) {
  TGameLevel* level = LoadBasic();
  ASSERT_NE(level, nullptr);
  ASSERT_EQ(level->GetState(), TGameLevel::kIntro);
  RunTicks(1);
  Frame("level_intro.png");
  PutAsset("scripts/selection scripts/selection1.2.lua",
           "MakeDialog{ Window{ name = \"choice\", x = 0, y = 0, w = 800, h = 600 } }");
  Continue(level);
  EXPECT_EQ(level->GetState(), TGameLevel::kPlanningChoice);
  EXPECT_NE(level->GetLevelDialog().GetParent(), level);
  ASSERT_NE(Manager().GetTopModal()->FindChild("choice", -1), nullptr);
  RunTicks(5);  // the selection dialog is on top: the level rests
  EXPECT_EQ(level->GetState(), TGameLevel::kPlanningChoice);
  FinishSelection();
  RunTicks(1);
  EXPECT_EQ(level->GetState(), TGameLevel::kServing);
  EXPECT_EQ(Prefs().GetInt(kSelectionDoneKey, -1, -1), 0);
  Frame("level_serving.png");
  // No guest is left to come: serving ends at once and the closing phase runs 10 s.
  RunTicks(1);
  EXPECT_EQ(level->GetState(), TGameLevel::kClosing);
  EXPECT_EQ(level->GetClosingTimer(), TGameLevel::kClosingMs);
  RunTicks(TGameLevel::kClosingMs / TGameLevel::kTickMs - 1);
  EXPECT_EQ(level->GetState(), TGameLevel::kClosing);
  RunTicks(1);
  EXPECT_EQ(level->GetState(), TGameLevel::kLost);  // 0 points against the goal of 50
}

TEST_F(LevelStatesTest, AScoreAboveTheGoalAtTheEndOfClosingWins) {
  TGameLevel* level = LoadBasic();
  ASSERT_NE(level, nullptr);
  PutAsset("scripts/selection scripts/selection1.2.lua", "MakeDialog{}");
  RunTicks(1);
  Continue(level);
  FinishSelection();
  RunTicks(2);
  ASSERT_EQ(level->GetState(), TGameLevel::kClosing);
  level->GetHeadTable()->AddScore(51);
  RunTicks(TGameLevel::kClosingMs / TGameLevel::kTickMs);
  EXPECT_EQ(level->GetState(), TGameLevel::kWon);
}

TEST_F(LevelStatesTest, WithoutItsSelectionScriptTheLevelStartsWithoutPlanning) {
  TGameLevel* level = StartLoaded("level_bare.lua", "scripts/game2.3.lua");
  ASSERT_NE(level, nullptr);
  RunTicks(1);
  Continue(level);
  EXPECT_EQ(level->GetState(), TGameLevel::kServing);
  EXPECT_TRUE(Logged("no planning selection"));
}

TEST_F(LevelStatesTest, PauseByKeyButtonAndRequest) {
  PutFixture("level_basic.lua", "scripts/game1.2.lua");
  TGameLevel* level = StartLevel("assets/scripts/game1.2.lua");
  ASSERT_NE(level, nullptr);
  // Nothing pauses while the level loads.
  EXPECT_TRUE(level->RequestPause());
  EXPECT_EQ(level->GetState(), TGameLevel::kLoading);
  RunTicks(TGameLevel::kLastLoadStep + 1);
  ASSERT_EQ(level->GetState(), TGameLevel::kIntro);

  PutAsset("scripts/pausemenu.lua",
           "MakeDialog{ Window{ name = \"pausemenu\", x = 0, y = 0, w = 800, h = 600 } }");
  Key('p');
  EXPECT_EQ(level->GetState(), TGameLevel::kPaused);
  EXPECT_EQ(level->GetSavedState(), TGameLevel::kIntro);
  ASSERT_NE(Manager().GetTopModal()->FindChild("pausemenu", -1), nullptr);
  EXPECT_EQ(Manager().GetFocus(), Manager().GetTopModal());
  // The game loop's request while paused keeps the pause.
  EXPECT_TRUE(level->RequestPause());
  EXPECT_EQ(level->GetState(), TGameLevel::kPaused);
  // The pause menu's resume: it closes itself, then calls PauseAction(1700).
  Manager().PopModal();
  clock.now += 5000;
  Script().DoLuaString("PauseAction(1700)");
  EXPECT_EQ(level->GetState(), TGameLevel::kIntro);
  EXPECT_EQ(Manager().GetFocus(), level);
  const int played = level->GetPlayTime();
  RunTicks(1);
  EXPECT_LE(level->GetPlayTime() - played, TGameLevel::kTickMs);  // the pause is not counted

  // The pause button runs its script command, DoPause().
  WaitForCommands();
  Click(40, 563);
  Manager().DrainQueue();
  RunTicks(1);
  EXPECT_EQ(level->GetState(), TGameLevel::kPaused);
  Manager().PopModal();
  Script().DoLuaString("DoPause()");
  EXPECT_EQ(level->GetState(), TGameLevel::kIntro);
}

TEST_F(LevelStatesTest, TheScriptFunctionsFallSilentWhenTheLevelGoes) {
  TGameLevel* level = LoadBasic();
  ASSERT_NE(level, nullptr);
  Script().DoLuaString("gVenue = CurrentVenue(); gLevel = CurrentLevel()");
  EXPECT_EQ(Script().GetGlobalNumber("gVenue"), 1);
  EXPECT_EQ(Script().GetGlobalNumber("gLevel"), 2);
  // A script that kept a function of the level.
  Script().DoLuaString("gKept = CurrentLevel");
  Manager().PopModal();
  Manager().DeletePending();
  // The globals went back to what they held before the level: nothing.
  Script().DoLuaString("gGone = (CurrentLevel == nil) and (DoPause == nil) and 1 or 0");
  EXPECT_EQ(Script().GetGlobalNumber("gGone"), 1);
  // The kept function logs and does nothing.
  Script().DoLuaString("gLevel = gKept()");
  EXPECT_EQ(Script().GetGlobalNumber("gLevel"), 0);
  EXPECT_TRUE(Logged("whose object is gone"));
}

TEST_F(LevelStatesTest, CurrentLevelIsOneBeforeTheLoaderRan) {
  PutFixture("level_bare.lua", "scripts/game2.3.lua");
  ASSERT_NE(StartLevel("assets/scripts/game2.3.lua"), nullptr);
  Script().DoLuaString("gLevel = CurrentLevel()");
  EXPECT_EQ(Script().GetGlobalNumber("gLevel"), 1);
}

TEST_F(LevelStatesTest, TheRoomIsInDepthOrderWithItsLayers) {
  TGameLevel* level = LoadBasic();
  ASSERT_NE(level, nullptr);
  level->SortByDepth(true);
  const auto& objects = level->GetDepthObjects();
  ASSERT_GE(objects.size(), 5u);
  for (size_t i = 0; i < objects.size(); ++i) {
    EXPECT_EQ(objects[i]->GetLayer(), 508 + 50 * static_cast<int>(i)) << i;
    if (i == 0) continue;
    // No object is drawn after one it should be drawn before.
    auto key = [](const std::shared_ptr<TSprite>& s) {
      TRect b;
      if (auto* f = dynamic_cast<TFestraSprite*>(s.get())) b = f->GetBounds(-1);
      if (auto* a = dynamic_cast<TFestraAnimSprite*>(s.get())) b = a->GetBounds(-1);
      return TDepthKey{b.bottom, (b.left + b.right) / 2, false};
    };
    EXPECT_FALSE(DrawsBefore(key(objects[i]), key(objects[i - 1]))) << i;
  }
}

TEST_F(LevelStatesTest, TheBoostMeterFillsInSixStepsAndThenBlinks) {
  TGameLevel* level = LoadBasic();  // the script sets "blaster"
  ASSERT_NE(level, nullptr);
  ASSERT_NE(level->GetBoostMeter(), nullptr);
  level->SetGuestsTotal(10);  // guests to come: serving goes on
  level->PauseAction(1705);
  ASSERT_EQ(level->GetState(), TGameLevel::kServing);
  // Serving time in 200 ms ticks, and the frame shown then.
  struct TCase {
    int ms, frame;
  };
  const TCase cases[] = {{9800, 0},  {10000, 1}, {30000, 3}, {59800, 5}, {60000, 5},
                         {60400, 5}, {60600, 7}, {61000, 7}, {61200, 6}, {61600, 6},
                         {61800, 7}, {62200, 7}, {62400, 6}};
  int served = 0;
  for (const TCase& c : cases) {
    while (served < c.ms) {
      clock.now += 200;
      level->Tick();
      served += level->GetLastDt();
    }
    EXPECT_EQ(level->GetBoostMeter()->GetCurrentFrame(), c.frame) << c.ms;
  }
}

TEST_F(LevelStatesTest, TheLoadingBoxShowsItsProgressWhileLoading) {
  PutFixture("level_basic.lua", "scripts/game1.2.lua");
  TGameLevel* level = StartLevel("assets/scripts/game1.2.lua");
  ASSERT_NE(level, nullptr);
  RunTicks(5);
  EXPECT_EQ(level->GetLoadingBox()->GetProgressBar()->GetCurrentFrame(), 6);
  EXPECT_GT(level->GetLoadingBox()->GetBackground()->GetWidth(), 0);
  Frame("level_loading.png");
}

}  // namespace
