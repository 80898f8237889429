// Guests driven through a recording level with the engine clock and the seeded generator:
// seats, marks, clicks, patience and mood thirds, desire sequences, side requests, the
// seat-wait, saved state, the look of a guest, and what leaving cleans up.
#include <gtest/gtest.h>

#include "game/room/RoomCodes.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraTable.h"
#include "game/room/TMovingParticle.h"
#include "tests/game/room/RoomFixture.h"

namespace {

class GuestTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    PutSheet("images/table300.png", 300, 80);
    PutSheet("images/chair.png", 34, 52);
    PutAnimation("images/checkmark", 4, 30, 30, 15, 15,
                 "function DoAnim() delay(50); frames{1,2,3,4}; end");
    for (int state = 0; state < 8; ++state) {
      PutAnimation("images/guest/g" + std::to_string(state), 2, 40, 90, 20, 89);
    }
    table = TFestraTable::Create(508);
    table->Setup("assets/images/table300", 4, 100, 200, "assets/images/chair");
  }

  // A guest of the type with its eight states, a level, patience `patience` of 300 and the
  // step times 800, 1000, 2000, 3000, 4000.
  std::shared_ptr<TFestraGuest> Guest(int type = 0, int patience = 300) {
    auto guest = TFestraGuest::Create(600);
    std::vector<TString> names;
    for (int state = 0; state < 8; ++state) {
      names.push_back(TString::Format("assets/images/guest/g%d", state));
    }
    guest->LoadAnimations(names, type);
    guest->SetOwner(&level);
    guest->SetMaxPatience(300);
    guest->SetPatience(patience);
    guest->SetStepTimes({800, 1000, 2000, 3000, 4000});
    guest->PlaceAt(200, 300, kStoredAnchor);
    return guest;
  }

  // Steps the clock and the guest by dt; answers the guest's code.
  int Tick(TFestraGuest& guest, int dt) {
    Step(static_cast<uint32_t>(dt));
    return guest.Update(dt);
  }

  std::shared_ptr<TFestraTable> table;
};

TEST_F(GuestTest, MarkCountShowsAndHidesTheCheckMark) {
  auto guest = Guest();
  const auto& mark = guest->GetCheckMark();
  EXPECT_FALSE(mark->IsVisible());
  EXPECT_EQ(mark->GetParent(), guest.get());
  EXPECT_EQ(mark->GetPosition().x, 0);
  EXPECT_EQ(mark->GetPosition().y, 9);
  guest->SetMarkCount(2);
  EXPECT_EQ(guest->GetMarkCount(), 2);
  EXPECT_TRUE(mark->IsVisible());
  EXPECT_FALSE(mark->IsAnimationDone());
  guest->SetMarkCount(0);
  EXPECT_FALSE(mark->IsVisible());
}

TEST_F(GuestTest, SeatsAreTakenAndFreedThroughTheTable) {
  auto guest = Guest();
  guest->SetSeat(table, 1);
  EXPECT_TRUE(table->IsOccupied(1));
  EXPECT_EQ(table->GetSeatedCount(), 1);
  EXPECT_EQ(guest->GetTable(), table);
  guest->SetSeat(table, 1);
  EXPECT_TRUE(table->IsOccupied(1)) << "sitting down again on the same seat keeps it";
  guest->SetSeat(table, 2);
  EXPECT_FALSE(table->IsOccupied(1));
  EXPECT_TRUE(table->IsOccupied(2));
  EXPECT_EQ(table->GetSeatedCount(), 1);
  guest->ClearSeat();
  EXPECT_FALSE(table->IsOccupied(2));
  EXPECT_EQ(table->GetSeatedCount(), 0);
  EXPECT_EQ(guest->GetSeat(), -1);
  EXPECT_FALSE(guest->GetTable());
  EXPECT_EQ(guest->GetLastTable(), table);
  EXPECT_EQ(guest->GetLastSeat(), 2);
  EXPECT_FALSE(guest->IsVisible());
}

TEST_F(GuestTest, AGuestOutlivingItsTableSkipsIt) {
  auto guest = Guest();
  guest->SetSeat(table, 0);
  table.reset();
  EXPECT_FALSE(guest->GetTable());
  EXPECT_FALSE(guest->IsNextToGuestType(0));
  guest->ClearSeat();
  EXPECT_EQ(guest->Update(16), kGuestNothing);
}

TEST_F(GuestTest, DroppingAPatienceThirdLandsInTheNextLowerThird) {
  struct Case {
    int max, patience, left;
  };
  for (const Case c : {Case{300, 250, 199}, Case{300, 300, 200}, Case{300, 50, 0}, Case{300, 0, 0},
                       Case{2, 2, 1}, Case{1, 1, 0}}) {
    auto guest = Guest();
    guest->SetMaxPatience(c.max);
    guest->SetPatience(c.patience);
    guest->DropPatienceThird();
    EXPECT_EQ(guest->GetPatience(), c.left) << c.max << " " << c.patience;
  }
}

TEST_F(GuestTest, MoodThirdsHoldForSmallMaximaToo) {
  struct Case {
    int max, patience, mood;
  };
  for (const Case c :
       {Case{300, 0, 0}, Case{300, 99, 0}, Case{300, 100, 1}, Case{300, 199, 1}, Case{300, 200, 2},
        Case{300, 300, 2}, Case{2, 1, 1}, Case{2, 2, 2}, Case{0, 0, 0}, Case{1, 5, 2}}) {
    auto guest = Guest();
    guest->SetMaxPatience(c.max);
    guest->SetPatience(c.patience);
    EXPECT_EQ(guest->GetMood(), c.mood) << c.max << " " << c.patience;
  }
}

TEST_F(GuestTest, ClicksReportServableAndBusyGuests) {
  auto guest = Guest();
  guest->SetDesire(kDesireDinner);
  EXPECT_FALSE(guest->OnGuestClicked(TPoint{0, 0}, false, false));
  EXPECT_TRUE(level.clicks.empty());
  EXPECT_TRUE(guest->OnGuestClicked(TPoint{0, 0}, true, false));
  EXPECT_TRUE(guest->OnGuestClicked(TPoint{0, 0}, false, true));
  guest->SetDesire(kDesireSit);
  EXPECT_TRUE(guest->OnGuestClicked(TPoint{0, 0}, false, false));
  guest->SetDesire(kDesireDinner);
  guest->LoopState(kAnimSeated);
  EXPECT_TRUE(guest->OnGuestClicked(TPoint{0, 0}, false, false));
  const std::vector<std::pair<TSprite*, int>> expected = {{guest.get(), kClickGuestBusy},
                                                          {guest.get(), kClickGuest},
                                                          {guest.get(), kClickGuest},
                                                          {guest.get(), kClickGuest}};
  EXPECT_EQ(level.clicks, expected);

  auto stray = Guest();
  stray->SetOwner(nullptr);
  stray->SetDesire(kDesireSit);
  EXPECT_FALSE(stray->OnGuestClicked(TPoint{0, 0}, true, true));
  EXPECT_TRUE(Logged("TFestraGuest::OnGuestClicked -- Window is NULL."));
}

}  // namespace
