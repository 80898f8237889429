// The level's loading: a level script opened as the game opens it loads in ten steps, one a
// tick, with the designed progress, reads its tables (or their defaults) and reaches its
// introduction.
#include <gtest/gtest.h>

#include "game/level/TLoadingBox.h"
#include "game/room/TFestraAnimSprite.h"
#include "game/room/TFestraTable.h"
#include "game/room/TFestraWaitress.h"
#include "game/room/TItemTable.h"
#include "tests/game/level/LevelFixture.h"
#include "tvlib/ui/TButton.h"

namespace {

class LevelLoadTest : public LevelTest {};

TEST_F(LevelLoadTest, LoadsStepByStepWithTheDesignedProgressAndReachesTheIntro) {
  PutFixture("level_basic.lua", "scripts/game1.2.lua");
  TGameLevel* level = StartLevel("assets/scripts/game1.2.lua");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->GetState(), TGameLevel::kLoading);
  TWindow* pause = Manager().GetTopModal()->FindChild("pause", -1);
  ASSERT_NE(pause, nullptr);
  const int progress[] = {1, 2, 3, 5, 6, 7, 9, 10, 11, 13};
  for (int step = 1; step <= 10; ++step) {
    RunTicks(1);
    SCOPED_TRACE(step);
    EXPECT_EQ(level->GetLoadStep(), step);
    EXPECT_EQ(level->GetLoadingBox()->GetProgressBar()->GetCurrentFrame(), progress[step - 1]);
    EXPECT_EQ(pause->IsVisible(), step == 10);
    EXPECT_EQ(level->GetState(), step == 10 ? TGameLevel::kIntro : TGameLevel::kLoading);
  }
  RunTicks(1);
  EXPECT_EQ(level->GetLevelDialog().GetParent(), level);
  EXPECT_TRUE(level->GetSceneRoot()->IsVisible());
  EXPECT_FALSE(level->GetLoadingBox()->IsVisible());
}

TEST_F(LevelLoadTest, ReadsTheScriptsTables) {
  TGameLevel* level = StartLoaded("level_basic.lua", "scripts/game1.2.lua");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->GetVenue(), 1);
  EXPECT_EQ(level->GetLevel(), 2);
  EXPECT_FALSE(level->IsEndless());
  EXPECT_EQ(level->GetSettings().passScore, 50);
  EXPECT_EQ(level->GetSettings().lastRequest, 2);
  EXPECT_FALSE(level->GetSettings().needMatchBeforeDance);
  EXPECT_EQ(level->GetSettings().guestRequestTablePercent, 50);  // venue 1 of the global array
  EXPECT_EQ(level->GetSpeeds().serverSpeed[2], 400.0f);
  EXPECT_EQ(level->GetSpeeds().plannerSpeed[0], 200.0f);
  EXPECT_EQ(level->GetMusicName(), "assets/audio/music/venue1_garden.ogg");
  EXPECT_EQ(level->GetHeadIcons().size(), 2u);
  EXPECT_EQ(level->GetHighlightImages().size(), 1u);
  EXPECT_EQ(level->GetCharImage(0, 0), "images/character/guests/female01_idle.xml");
  EXPECT_EQ(level->GetCharImage(9, 7), "images/character/guests/aunt_problem.xml");
  EXPECT_EQ(level->GetCharImage(0, 7), "");
  EXPECT_EQ(level->GetCharClickArea(3), (std::array<int, 4>{10, 0, 40, 80}));
  EXPECT_EQ(level->GetReseatTimes(), (std::deque<int>{3000}));
  ASSERT_EQ(level->GetVelkaEvents().GetEvents().size(), 1u);
  EXPECT_EQ(level->GetVelkaEvents().GetEvents().front().effectPath, "fx/fx_kiss.lua");

  ASSERT_EQ(level->GetTables().size(), 1u);
  const auto& table = level->GetTables().front();
  EXPECT_EQ(table->GetChairCount(), 4);
  EXPECT_EQ(table->GetColorId(), 0);
  EXPECT_GT(table->GetWidth(), 0);  // "Assets/Images/Table/Table4" found its picture
  EXPECT_NE(table->GetMark()->GetTexture(), nullptr);

  // The heroine first, then the one server.
  ASSERT_EQ(level->GetWaitresses().size(), 2u);
  EXPECT_EQ(level->GetWaitresses()[0], level->GetPlanner());
  EXPECT_EQ(level->GetPlanner()->GetStartPosition().x, 116);
  EXPECT_EQ(level->GetPlanner()->GetStartPosition().y, 535);
  EXPECT_EQ(level->GetWaitresses()[1]->GetStartPosition().x, 630);
  EXPECT_EQ(level->GetWaitresses()[1]->GetStartPosition().y, 270);
  // Two of the three glasses show the two mood boosts.
  ASSERT_EQ(level->GetChampagneGlasses().size(), 3u);
  EXPECT_TRUE(level->GetChampagneGlasses()[1]->IsVisible());
  EXPECT_FALSE(level->GetChampagneGlasses()[2]->IsVisible());
  // Every slot of the serving table was ordered from the kitchen, 2 s each without upgrades.
  const int slots = level->GetServingTable()->GetSlotCount();
  ASSERT_EQ(static_cast<int>(level->GetKitchenOrders().size()), slots);
  EXPECT_EQ(level->GetKitchenOrders().front().delay, 2000);
  EXPECT_EQ(level->GetKitchenOrders().front().food, level->GetServingTable()->GetSlotKind(0) + 1);
  EXPECT_NE(level->GetBoostMeter(), nullptr);
  EXPECT_NE(level->GetSounds().bonus, nullptr);
  EXPECT_NE(level->GetSounds().gameClick2, nullptr);
  EXPECT_EQ(Plays("assets/audio/music/venue1_garden.ogg", false), 1);
}

TEST_F(LevelLoadTest, AScriptWithoutTheOptionalTablesLoadsWithTheDefaults) {
  TGameLevel* level = StartLoaded("level_bare.lua", "scripts/game2.3.lua");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->GetState(), TGameLevel::kIntro);
  EXPECT_EQ(level->GetVenue(), 2);
  EXPECT_EQ(level->GetLevel(), 3);
  const TLevelSettings defaults;
  for (const TIntSettingKey& key : IntSettingKeys()) {
    if (std::string(key.key) == "map" || std::string(key.key) == "level" ||
        std::string(key.key) == "guestRequestTablePercent")
      continue;
    SCOPED_TRACE(key.key);
    EXPECT_EQ(level->GetSettings().*key.member, defaults.*key.member);
  }
  EXPECT_TRUE(level->GetSettings().needMatchBeforeDance);
  EXPECT_EQ(level->GetSettings().guestRequestTablePercent, 0);
  EXPECT_EQ(level->GetSpeeds().serverSpeed[0], 0.0f);
  EXPECT_EQ(level->GetMusicName(), "assets/audio/music/Big Band 1.ogg");
  EXPECT_TRUE(level->GetTables().empty());
  EXPECT_TRUE(level->GetHeadIcons().empty());
  EXPECT_EQ(level->GetWaitresses().size(), 2u);  // the heroine and the default one server
  EXPECT_EQ(level->GetBoostMeter(), nullptr);
}

TEST_F(LevelLoadTest, AMissingLevelScriptLeavesTheScreenUnderIt) {
  const size_t before = Manager().GetModalStack().size();
  EXPECT_EQ(StartLevel("assets/scripts/game4.4.lua"), nullptr);
  EXPECT_EQ(Manager().GetModalStack().size(), before);
  EXPECT_TRUE(Logged("no level script 'assets/scripts/game4.4.lua'"));
}

TEST_F(LevelLoadTest, AFailingLevelScriptLeavesTheScreenUnderIt) {
  PutAsset("scripts/game4.5.lua", "levelSetting = { map = 4 }\nthis is not lua\n");
  const size_t before = Manager().GetModalStack().size();
  EXPECT_EQ(StartLevel("assets/scripts/game4.5.lua"), nullptr);
  Manager().DeletePending();
  EXPECT_EQ(Manager().GetModalStack().size(), before);
  EXPECT_TRUE(Logged("built no level"));
}

// The shipped first level, from the game's package, loads through its ten steps.
TEST_F(LevelLoadTest, TheFirstLevelOfTheGameLoads) {
  TGameLevel* level = StartLevel("assets/scripts/game1.1.lua");
  ASSERT_NE(level, nullptr);
  RunTicks(TGameLevel::kLastLoadStep + 1);
  EXPECT_EQ(level->GetState(), TGameLevel::kIntro);
  EXPECT_EQ(level->GetVenue(), 1);
  EXPECT_EQ(level->GetLevel(), 1);
  EXPECT_EQ(level->GetSettings().lastRequest, 4);
  EXPECT_EQ(level->GetTables().size(), 2u);
  for (const auto& table : level->GetTables()) EXPECT_GT(table->GetWidth(), 0);
  EXPECT_EQ(level->GetSpeeds().serverSpeed[0], 300.0f);
  EXPECT_EQ(level->GetHeadIcons().size(), 10u);
  EXPECT_EQ(level->GetCharImage(4, 6), "images/character/guests/male01_upset.xml");
  EXPECT_NE(level->GetSounds().seat, nullptr);
  EXPECT_NE(level->GetPlanner()->GetWidth(), 0);
  RunTicks(1);
  Frame("level_game1.1_intro.png");
  EXPECT_FALSE(Logged("is missing"));
}

}  // namespace
