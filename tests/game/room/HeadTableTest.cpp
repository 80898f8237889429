// The couple's head table stepped as the level steps it, every 20 ms of the engine clock:
// happiness moving in steps, the moods with their effects, the angry lock with its planner
// event and the reset, the kiss, the dance, and a maximum of 0 or less.
#include <gtest/gtest.h>

#include "game/room/TFestraStateAnim.h"
#include "game/room/TScoreTable.h"
#include "tests/game/room/RoomFixture.h"

namespace {

constexpr int kTickMs = 20;

class HeadTableTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    table = TScoreTable::Create(500);
    table->SetOwner(&level);
    table->LoadBrideAnims(11);
    table->LoadGroomAnims(14);
    table->SetMaxHappiness(100);
  }
  // The level's ticks for `ms`: the engine clock and its tasks move, then the table.
  void RunFor(int ms) {
    for (int t = 0; t < ms; t += kTickMs) {
      Step(kTickMs);
      table->Update(kTickMs);
    }
  }
  // Changes the happiness and runs until the change has reached it.
  void Change(float delta) {
    table->ChangeHappiness(delta);
    RunFor(4000);
  }
  std::vector<int> CoupleStates() {
    return {table->GetBride()->GetState(), table->GetGroom()->GetState()};
  }

  std::shared_ptr<TScoreTable> table;
};

TEST_F(HeadTableTest, PendingChangesReachTheHappinessByAtMost25Every750Ms) {
  table->ChangeHappiness(-60);
  EXPECT_EQ(table->GetPending(), -60);
  RunFor(740);
  EXPECT_EQ(table->GetHappiness(), 100);
  RunFor(60);
  EXPECT_EQ(table->GetHappiness(), 75);
  RunFor(760);
  EXPECT_EQ(table->GetHappiness(), 50);
  RunFor(760);
  EXPECT_EQ(table->GetHappiness(), 40);
  EXPECT_EQ(table->GetPending(), 0);

  table->ChangeHappiness(70);
  EXPECT_EQ(table->GetPending(), 70);
  table->ChangeHappiness(5);
  EXPECT_EQ(table->GetPending(), 70) << "the pending rise already fills the gap to the maximum";
  table->ChangeHappiness(-5);
  EXPECT_EQ(table->GetPending(), 65) << "losses always count";
  RunFor(3000);
  EXPECT_EQ(table->GetHappiness(), 100) << "capped at the maximum";
  table->ChangeHappiness(-500);
  EXPECT_EQ(table->GetPending(), -100) << "kept within the maximum";
}

TEST_F(HeadTableTest, MoodsFollowTheShareAndTheAngryCoupleLockTheTableUntilReset) {
  EXPECT_EQ(table->GetMood(), TScoreTable::kHappy);
  EXPECT_EQ(CoupleStates(), (std::vector<int>{1, 1}));
  Change(-50);
  EXPECT_EQ(table->GetMood(), TScoreTable::kNormal);
  EXPECT_TRUE(level.effects.empty());

  Change(-20);
  EXPECT_EQ(table->GetMood(), TScoreTable::kMad);
  EXPECT_EQ(CoupleStates(), (std::vector<int>{2, 2}));
  EXPECT_EQ(level.effects, (std::vector<std::string>{TScoreTable::kSteamEffect}));
  Change(-14);  // a share of 0.16: the bride shakes about her place
  const TPoint at = table->GetBride()->GetPosition();
  EXPECT_TRUE(at.x == 89 || at.x == 90) << at.x;
  EXPECT_TRUE(at.y == 52 || at.y == 53) << at.y;
  EXPECT_EQ(level.effects.size(), 1u) << "steam once";

  Change(-16);
  EXPECT_EQ(table->GetMood(), TScoreTable::kAngry);
  EXPECT_TRUE(table->IsLocked());
  EXPECT_EQ(CoupleStates(), (std::vector<int>{3, 3}));
  EXPECT_EQ(level.effects.back(), TScoreTable::kAngryEffect);
  ASSERT_EQ(level.added.size(), 1u);
  EXPECT_EQ(level.added[0].code, kEventHeadTable);
  EXPECT_EQ(level.added[0].spots, (std::vector<int>{340, 0, 340, 0, 340, 50}));
  Change(80);
  EXPECT_EQ(table->GetPending(), 0) << "locked: no change counts";
  EXPECT_EQ(table->GetHappiness(), 0);
  EXPECT_EQ(level.added.size(), 1u);
  EXPECT_EQ(level.effects.size(), 2u);

  table->ResetHappiness();
  EXPECT_EQ(level.removed, (std::vector<int>{kEventHeadTable}));
  EXPECT_EQ(level.counts, (std::vector<std::pair<std::string, int>>{{"VelkaEventsCompleted", 1}}));
  EXPECT_FALSE(table->IsLocked());
  EXPECT_EQ(table->GetHappiness(), 100);
  EXPECT_EQ(table->GetMood(), TScoreTable::kHappy);
  EXPECT_EQ(CoupleStates(), (std::vector<int>{1, 1}));
  Change(-70);
  EXPECT_EQ(table->GetMood(), TScoreTable::kMad);
  EXPECT_EQ(level.effects.back(), TScoreTable::kSteamEffect) << "steam again after a reset";
}

TEST_F(HeadTableTest, AnAngryCoupleWhileTheLevelLoadsRaiseNoEvent) {
  level.loading = true;
  Change(-100);
  EXPECT_TRUE(table->IsLocked());
  EXPECT_TRUE(level.added.empty());
  EXPECT_EQ(level.effects.back(), TScoreTable::kAngryEffect);
}

TEST_F(HeadTableTest, TenSecondsHappyGiveAKissOfOneSecond) {
  RunFor(10000);
  EXPECT_TRUE(level.effects.empty());
  RunFor(kTickMs);
  EXPECT_EQ(level.effects, (std::vector<std::string>{TScoreTable::kKissEffect}));
  EXPECT_EQ(CoupleStates(), (std::vector<int>{0, 0}));
  EXPECT_EQ(table->GetKissCount(), 1);
  RunFor(980);
  EXPECT_EQ(CoupleStates(), (std::vector<int>{0, 0}));
  RunFor(kTickMs);
  EXPECT_EQ(CoupleStates(), (std::vector<int>{1, 1}));
  RunFor(2 * 11020);
  EXPECT_EQ(level.effects.size(), 3u);
  EXPECT_EQ(table->GetKissCount(), 0) << "the third kiss counts back to 0";
}

TEST_F(HeadTableTest, AMaximumOfZeroOrLessIsAFullShareNeverAnAngryOne) {
  for (float maximum : {0.0f, 0.5f, -20.0f}) {
    table->SetMaxHappiness(maximum);
    table->ChangeHappiness(-10);
    RunFor(2000);
    EXPECT_EQ(table->GetHappinessRatio(), 1.0f) << maximum;
    EXPECT_EQ(table->GetMood(), TScoreTable::kHappy) << maximum;
    EXPECT_FALSE(table->IsLocked()) << maximum;
  }
  EXPECT_TRUE(level.added.empty());
}

TEST_F(HeadTableTest, LostPointsStopAtZeroAndStillLowerTheHappinessInFull) {
  table->AddScore(30);
  EXPECT_EQ(table->GetCoupleScore(), 30);
  EXPECT_EQ(table->GetPending(), 0) << "gains leave the happiness";
  table->AddScore(-50);
  EXPECT_EQ(table->GetCoupleScore(), 0);
  EXPECT_EQ(table->GetPending(), -50);
}

TEST_F(HeadTableTest, SetUpTheTableAndTheCouplesLooks) {
  PutSheet("images/table/headtable1.png", 240, 110);
  table->Setup("assets/images/table/headtable1");
  EXPECT_EQ(table->GetObjectType(), kObjectHeadTable);
  EXPECT_EQ(table->GetCheckMark()->GetPosition().x, 120);
  EXPECT_EQ(table->GetCheckMark()->GetPosition().y, 61);
  EXPECT_EQ(table->GetBride()->GetParent(), table.get());
  EXPECT_EQ(table->GetBride()->GetPosition().x, 90);
  EXPECT_EQ(table->GetGroom()->GetPosition().x, 126);
  EXPECT_EQ(table->GetGroom()->GetPosition().y, 53);
  EXPECT_EQ(table->GetBride()->GetFrameDelay(), 100);
  EXPECT_EQ(table->GetBride()->GetStateCount(), 4);
  table->LoadBrideAnims(12);
  table->LoadGroomAnims(15);
  EXPECT_EQ(table->GetBride()->GetStateCount(), 4) << "the states are replaced";
  // Missing pictures are logged once by name.
  EXPECT_TRUE(Logged("Brides and Grooms/gen_b2_happy.xml is missing"));
  EXPECT_TRUE(Logged("Brides and Grooms/gen_g2_normal.xml is missing"));
}

TEST_F(HeadTableTest, TheCoupleLeaveTheTableToDance) {
  auto room = TFestraSprite::Create(0);
  table->StartDance(room);
  for (const auto& person : {table->GetBride(), table->GetGroom()}) {
    EXPECT_EQ(person->GetParent(), room.get());
    EXPECT_FALSE(person->IsVisible());
  }
  EXPECT_EQ(table->GetDance()->GetParent(), room.get());
  EXPECT_EQ(table->GetDance()->GetLayer(), 10508);
  EXPECT_EQ(table->GetDance()->GetStateCount(), 1);
  EXPECT_EQ(table->GetDance()->GetPosition().x, 490);
  EXPECT_EQ(table->GetDance()->GetPosition().y, 520);
  table->StartDance(nullptr);
  EXPECT_TRUE(Logged("TScoreTable::StartDance: no sprite to dance on"));
}

}  // namespace
