// Guests driven through a recording level with the engine clock and the seeded generator:
// seats, marks, clicks, patience and mood thirds, desire sequences, side requests, the
// seat-wait, saved state, the look of a guest, and what leaving cleans up.
#include <gtest/gtest.h>

#include "game/room/RoomArt.h"
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

  // Runs the guest in 100 ms ticks, serving each desire it shows at once (the level's
  // patience bonus), until it has shown `count` desires.
  std::vector<int> ServedDesires(TFestraGuest& guest, size_t count) {
    std::vector<int> shown;
    for (int tick = 0; tick < 2000 && shown.size() < count; ++tick) {
      const int code = Tick(guest, 100);
      if (code >= kDesireSit && code <= kDesireDance) {
        shown.push_back(code);
        guest.AddPatienceBonus();
      }
    }
    return shown;
  }
  // Ticks until the guest answers something other than kGuestNothing; -99 if it never does.
  int NextCode(TFestraGuest& guest, int dt) {
    for (int tick = 0; tick < 2000; ++tick) {
      const int code = Tick(guest, dt);
      if (code != kGuestNothing) return code;
    }
    return -99;
  }
  // A guest waiting on the desire, as after the level's set-up.
  std::shared_ptr<TFestraGuest> Waiting(int desire, int type = 0) {
    auto guest = Guest(type);
    guest->SetDesire(desire);
    guest->SetDesireStep(3);
    guest->SetSpecialState(kSpecialWaiting);
    return guest;
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

TEST_F(GuestTest, OnlyTheUncleAndTheAuntHaveTheProblemState) {
  for (int type = 0; type < kGuestTypeCount; ++type) {
    auto guest = Guest(type);
    EXPECT_EQ(guest->GetStateCount(), type >= kGuestUncle ? 8 : 7) << type;
    EXPECT_EQ(guest->GetGuestType(), type);
    EXPECT_EQ(guest->GetState(), kAnimIdle);
  }
}

TEST_F(GuestTest, SpecialAnimationStatesAndTheWishToDance) {
  auto guest = Guest(kGuestAunt);
  for (int state = 0; state < 8; ++state) {
    guest->LoopState(state);
    const bool special = state == kAnimEating || state >= kAnimHappy;
    EXPECT_EQ(guest->IsInSpecialAnimState(), special) << state;
    guest->SetDesire(kDesireSit);
    EXPECT_TRUE(guest->IsSeatedActivity()) << "waiting to sit counts as seated activity";
    guest->SetDesire(kDesireGift);
    EXPECT_EQ(guest->IsSeatedActivity(), special) << state;
  }
  struct Case {
    int desire, step;
    bool dances;
  };
  for (const Case c :
       {Case{kDesireDance, 0, true}, Case{kDesireResit, TFestraGuest::kDanceStep, true},
        Case{kDesireResit, 3, false}, Case{kDesireDrink, TFestraGuest::kDanceStep, false}}) {
    guest->SetDesire(c.desire);
    guest->SetDesireStep(c.step);
    EXPECT_EQ(guest->WantsDance(), c.dances) << c.desire << " " << c.step;
  }
  guest->SetIconImage("assets/images/iconAlone");
  EXPECT_STREQ(guest->GetIconImage().c_str(), "assets/images/iconAlone");
}

TEST_F(GuestTest, LevelDataNeighboursAndPoints) {
  auto guest = Guest();
  guest->SetSeat(table, 1);
  auto aunt = Guest(kGuestAunt);
  aunt->SetSeat(table, 2);
  level.seated[{table.get(), 2}] = aunt;
  EXPECT_TRUE(guest->IsNextToGuestType(kGuestAunt));
  EXPECT_FALSE(guest->IsNextToGuestType(kGuestUncle));
  aunt.reset();
  EXPECT_FALSE(guest->IsNextToGuestType(kGuestAunt)) << "a guest that has left is skipped";
  EXPECT_FALSE(table->IsOccupied(2));

  guest->AddId(42);
  EXPECT_TRUE(guest->ContainsId(42));
  EXPECT_FALSE(guest->ContainsId(7));
  guest->SetServedFlag(3, true);
  guest->SetServedFlag(10, true);
  EXPECT_TRUE(guest->WasServed(3));
  EXPECT_FALSE(guest->WasServed(2));
  EXPECT_FALSE(guest->GetServedFlag(10));
  EXPECT_TRUE(Logged("TFestraGuest::SetServedFlag: kind 10"));

  guest->SetAnchorOffset(5, 7);
  EXPECT_EQ(guest->GetAnchorPoint().x, 185);
  EXPECT_EQ(guest->GetAnchorPoint().y, 218);
  EXPECT_EQ(guest->GetEffectPoint().x, 170);
  EXPECT_EQ(guest->GetEffectPoint().y, 166);
}

TEST_F(GuestTest, SeatsAreTakenAndFreedThroughTheTable) {
  auto guest = Guest();
  guest->SetSeat(table, 1);
  EXPECT_TRUE(table->IsOccupied(1));
  EXPECT_EQ(table->GetSeatedCount(), 1);
  EXPECT_EQ(guest->GetTable(), table);
  guest->SetSeatValue(9);
  guest->SetSeat(table, 1);
  EXPECT_EQ(guest->GetSeatValue(), 0);
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

TEST_F(GuestTest, DesireSequencesInsertEachSideRequestOnceInItsOrder) {
  using Chances = TFestraGuest::TRequestChances;
  struct Case {
    int type;
    Chances chances;
    std::vector<int> desires;
  };
  const Case cases[] = {
      {0, Chances{}, {0, 1, 2, 3, 4}},
      {3, Chances{.music = 100}, {0, 5, 1, 2, 3, 4}},
      {4, Chances{.drink = 100}, {0, 6, 1, 2, 3, 4}},
      {6, Chances{.drink = 100, .music = 100}, {0, 5, 6, 1, 2, 3, 4}},
      {kGuestUncle, Chances{.coffee = 100}, {0, 9, 1, 2, 3, 4}},
      {kGuestAunt, Chances{.tissue = 100}, {0, 8, 1, 2, 3, 4}},
      {kGuestUncle,
       Chances{.drink = 100, .music = 100, .coffee = 100, .tissue = 100},
       {0, 5, 6, 9, 8, 1, 2}},
      {kGuestAunt, Chances{.drink = 100, .music = 100, .resit = 100}, {0, 5, 6, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    TvSrand(1);
    auto guest = Guest(c.type);
    guest->SetChances(c.chances);
    EXPECT_EQ(ServedDesires(*guest, c.desires.size()), c.desires) << "type " << c.type;
    const Chances left = guest->GetChances();
    EXPECT_EQ(left.music + left.drink + left.coffee + left.tissue, 0) << "each fired once";
    EXPECT_EQ(left.resit, c.chances.resit) << "seat changes are not allowed";
  }
}

TEST_F(GuestTest, TheFirstDesireComesWhenTheFirstStepTimerRunsOut) {
  auto guest = Guest();
  EXPECT_EQ(guest->GetStepTimer(), 800);
  EXPECT_EQ(Tick(*guest, 500), kGuestNothing);
  EXPECT_EQ(Tick(*guest, 300), kGuestNothing);
  EXPECT_EQ(guest->GetDesire(), kDesireNone);
  EXPECT_EQ(Tick(*guest, 16), kDesireSit);
  EXPECT_EQ(guest->GetSpecialState(), kSpecialWaiting);
  EXPECT_EQ(guest->GetDesireStep(), 1);
  EXPECT_EQ(guest->GetStepTimer(), 1000);
  const std::vector<std::pair<TFestraGuest*, int>> icons = {{guest.get(), kDesireSit}};
  EXPECT_EQ(level.desireIcons, icons);
  const std::vector<std::pair<std::string, int>> counts = {{"PlayTime", 16}};
  EXPECT_EQ(level.counts, counts);
}

TEST_F(GuestTest, PatienceDrainsBetweenDesiresOnlyAtABusyTableAndStopsAtZero) {
  auto guest = Guest(0, 25);
  guest->SetSeat(table, 0);
  guest->SetStepTimes({5000, 0, 0, 0, 0});
  Tick(*guest, 100);
  EXPECT_EQ(guest->GetPatience(), 25);
  table->SetServiceCounter(1, 1);
  Tick(*guest, 100);
  EXPECT_EQ(guest->GetPatience(), 15);
  Tick(*guest, 100);
  Tick(*guest, 100);
  EXPECT_EQ(guest->GetPatience(), 0);
  EXPECT_EQ(guest->GetStepTimer(), 4600);
}

TEST_F(GuestTest, PatienceDrainsIntoEachMoodThirdAndBack) {
  auto guest = Waiting(kDesireAppetizer);
  std::vector<int> moods;
  int code = kGuestNothing;
  while (code == kGuestNothing) {
    code = Tick(*guest, 50);
    moods.push_back(guest->GetMood());
  }
  EXPECT_EQ(moods, (std::vector<int>{2, 2, 1, 1, 0, 0}));
  EXPECT_EQ(code, kGuestPatienceOut);
  EXPECT_EQ(guest->GetPatience(), 0);
  const std::vector<std::pair<TFestraGuest*, int>> icons = {{guest.get(), kDesireAppetizer},
                                                            {guest.get(), kDesireAppetizer}};
  EXPECT_EQ(level.desireIcons, icons) << "popped again on entering thirds 1 and 0";

  guest->StartGraceTimer(8000);
  Tick(*guest, 500);
  EXPECT_EQ(guest->GetGraceTimer(), 7500);
  EXPECT_FALSE(guest->IsGraceTimerOver());
  guest->BoostMood();
  EXPECT_EQ(guest->GetPatience(), 150);
  EXPECT_EQ(guest->GetGraceTimer(), 0);
  EXPECT_EQ(Tick(*guest, 10), kGuestNothing);
  EXPECT_EQ(level.desireIcons.size(), 3u) << "a boosted mood pops the icon again";
  guest->BoostMood();
  guest->BoostMood();
  EXPECT_EQ(guest->GetPatience(), 300);
  EXPECT_EQ(guest->GetMood(), 2);
}

TEST_F(GuestTest, ABoostAtFullPatiencePlaysHappyButNotInTheProblemState) {
  auto guest = Waiting(kDesireAppetizer);
  guest->LoopState(kAnimSeated);
  guest->BoostMood();
  EXPECT_EQ(guest->GetState(), kAnimHappy);
  auto uncle = Waiting(kDesireCoffee, kGuestUncle);
  uncle->LoopState(kAnimProblem);
  uncle->SetPatience(100);
  uncle->BoostMood();
  EXPECT_EQ(uncle->GetPatience(), 100);
  EXPECT_EQ(uncle->GetState(), kAnimProblem);
}

TEST_F(GuestTest, TimedRequestsRunOutAtTheirThresholdWithThePenalty) {
  auto guest = Guest();
  guest->SetChances({.music = 100});
  guest->SetAllowances({.music = 100});
  guest->SetRequestPenalty(30);
  EXPECT_EQ(ServedDesires(*guest, 1), std::vector<int>{kDesireSit});
  EXPECT_EQ(NextCode(*guest, 100), kDesireMusic);
  EXPECT_EQ(guest->GetRequestThreshold(), 200);
  EXPECT_EQ(guest->GetStepTimer(), 1000);
  EXPECT_EQ(NextCode(*guest, 50), kGuestRequestOut);
  EXPECT_EQ(guest->GetPatience(), 170);

  auto weary = Guest(0, 20);
  weary->SetChances({.drink = 100});
  weary->SetAllowances({.drink = 10});
  weary->SetRequestPenalty(30);
  ServedDesires(*weary, 1);
  EXPECT_EQ(NextCode(*weary, 100), kDesireDrink);
  EXPECT_EQ(NextCode(*weary, 10), kGuestPatienceOut);
  EXPECT_EQ(weary->GetPatience(), 0);
}

TEST_F(GuestTest, CoffeeAndTissueRaisePlannerEventsThatEndWithTheRequest) {
  auto uncle = Guest(kGuestUncle);
  uncle->SetSeat(table, 2);
  uncle->SetChances({.coffee = 100});
  uncle->SetAllowances({.coffee = 50});
  ServedDesires(*uncle, 1);
  EXPECT_EQ(NextCode(*uncle, 100), kDesireCoffee);
  EXPECT_EQ(uncle->GetState(), kAnimProblem);
  ASSERT_EQ(level.added.size(), 1u);
  EXPECT_EQ(level.added[0].code, kEventCoffee);
  EXPECT_EQ(level.added[0].spots, (std::vector<int>{200, 300, 150, 290, 200, 300}));
  EXPECT_EQ(uncle->GetPlannerEventId(), 1);
  EXPECT_EQ(NextCode(*uncle, 100), kGuestRequestOut);
  EXPECT_EQ(level.removedMatching, (std::vector<std::pair<int, int>>{{kEventCoffee, 1}}));
  EXPECT_EQ(uncle->GetPlannerEventId(), -1);

  auto aunt = Guest(kGuestAunt);
  aunt->SetSeat(table, 1);
  aunt->SetChances({.tissue = 100});
  aunt->SetAllowances({.tissue = 50});
  ServedDesires(*aunt, 1);
  EXPECT_EQ(NextCode(*aunt, 100), kDesireTissue);
  ASSERT_EQ(level.added.size(), 2u);
  EXPECT_EQ(level.added[1].code, kEventTissue);
  EXPECT_EQ(level.added[1].spots, (std::vector<int>{200, 300, 150, 280, 200, 300}))
      << "higher on an odd seat";
  EXPECT_EQ(level.sobbing, std::vector<int>{7});
  EXPECT_EQ(aunt->GetStepTimer(), 1000) << "the step time of its step";
  EXPECT_EQ(NextCode(*aunt, 100), kGuestRequestOut);
  EXPECT_EQ(level.stoppedSobs, std::vector<int>{7});
  EXPECT_EQ(level.removedMatching.back(), (std::pair<int, int>{kEventTissue, 2}));
}

TEST_F(GuestTest, LeavingWithATissueOrCoffeeRequestCleansUp) {
  auto aunt = Guest(kGuestAunt);
  aunt->SetSeat(table, 1);
  aunt->SetChances({.tissue = 100});
  ServedDesires(*aunt, 1);
  ASSERT_EQ(NextCode(*aunt, 100), kDesireTissue);
  aunt->ClearSeat();
  EXPECT_EQ(level.stoppedSobs, std::vector<int>{7});
  EXPECT_EQ(level.removedMatching, (std::vector<std::pair<int, int>>{{kEventTissue, 1}}));
  EXPECT_FALSE(aunt->GetRequestIcon()->IsVisible());
  aunt.reset();
  EXPECT_EQ(level.stoppedSobs.size(), 1u) << "cleaned up once";

  auto uncle = Guest(kGuestUncle);
  uncle->SetSeat(table, 3);
  uncle->SetChances({.coffee = 100});
  ServedDesires(*uncle, 1);
  ASSERT_EQ(NextCode(*uncle, 100), kDesireCoffee);
  auto bubble = TMovingParticle::Create(0);
  auto room = TSprite::Create(0);
  room->AddChild(bubble);
  uncle->SetBubble(bubble);
  uncle.reset();
  EXPECT_EQ(level.removedMatching.back(), (std::pair<int, int>{kEventCoffee, 2}));
  EXPECT_FALSE(table->IsOccupied(3)) << "a guest that ends frees its chair";
  EXPECT_TRUE(room->GetChildren().empty()) << "and takes its bubble out of the room";
}

TEST_F(GuestTest, ASeatChangeSavesTheStateAndRestoresItWhenItRunsOut) {
  level.seatChanges = true;
  auto guest = Guest();
  guest->SetChances({.resit = 100});
  guest->SetResitThreshold(250);
  EXPECT_EQ(ServedDesires(*guest, 2), (std::vector<int>{kDesireSit, kDesireGift}));
  EXPECT_EQ(NextCode(*guest, 100), kDesireGift) << "the draw keeps the desire";
  EXPECT_TRUE(guest->IsResitPending());
  EXPECT_EQ(guest->GetChances().resit, 0);
  EXPECT_EQ(Tick(*guest, 10), kDesireResit);
  EXPECT_EQ(guest->GetState(), kAnimSeated);
  EXPECT_EQ(guest->GetRequestThreshold(), 250);
  EXPECT_EQ(NextCode(*guest, 10), kDesireGift) << "restored";
  EXPECT_EQ(guest->GetDesireStep(), 2);
  EXPECT_EQ(guest->GetSpecialState(), kSpecialChoose);
  EXPECT_EQ(NextCode(*guest, 100), kDesireAppetizer);

  level.seatChanges = false;
  auto kept = Guest();
  kept->SetChances({.resit = 100});
  EXPECT_EQ(ServedDesires(*kept, 3), (std::vector<int>{0, 1, 2})) << "not in this level";
  level.seatChanges = true;
  auto held = Guest();
  held->SetNoResit(true);
  held->SetChances({.resit = 100});
  EXPECT_EQ(ServedDesires(*held, 3), (std::vector<int>{0, 1, 2})) << "held by the level";
  EXPECT_FALSE(held->IsResitPending());

  auto asked = Waiting(kDesireAppetizer);
  asked->SetInterruptRequest(true);
  asked->SetSpecialState(kSpecialChoose);
  asked->SetDesireStep(3);
  EXPECT_EQ(NextCode(*asked, 100), kDesireDinner);
  EXPECT_TRUE(asked->IsResitPending());
  EXPECT_EQ(Tick(*asked, 10), kDesireResit);
}

TEST_F(GuestTest, TheSeatWaitEndsInAMatchAnAngryGuestOrAtOnce) {
  struct Case {
    bool neighbourSeated, bothSeated;
    int preference, rating;
    bool matched, angry;
  };
  for (const Case c :
       {Case{true, true, 25, 1, false, false}, Case{true, false, 25, 1, true, false},
        Case{true, false, 25, -1, false, true}, Case{false, false, 25, 0, true, false},
        Case{false, false, 0, 0, false, true}}) {
    level = TRecordingLevel{};
    level.rating = c.rating;
    auto guests = std::vector<std::shared_ptr<TFestraGuest>>{};
    for (int seat : {0, 2}) {
      if (seat == 0 ? !c.neighbourSeated : !c.bothSeated) continue;
      guests.push_back(Guest(4));
      guests.back()->SetSeat(table, seat);
      level.seated[{table.get(), seat}] = guests.back();
    }
    auto guest = Waiting(kDesireSeatWait);
    guest->SetSeat(table, 1);
    guest->SetDesireStep(TFestraGuest::kSeatWaitStep);
    guest->SetSeatWaitCountdown(300);
    guest->SetSeatingPreference(c.preference);
    guest->SetPatience(200);
    int ticks = 0;
    while (level.handled.empty() && ticks < 10) {
      EXPECT_EQ(Tick(*guest, 100), kGuestNothing);
      ++ticks;
    }
    EXPECT_EQ(ticks, c.bothSeated ? 1 : 4) << "at once without a free neighbour chair";
    const std::vector<std::pair<TFestraGuest*, int>> handled = {{guest.get(), kDesireGift}};
    EXPECT_EQ(level.handled, handled);
    EXPECT_EQ(guest->GetDesire(), kDesireGift);
    EXPECT_EQ(guest->GetDesireStep(), 2);
    EXPECT_EQ(level.matches.size(), c.matched ? 1u : 0u) << c.rating;
    EXPECT_EQ(level.comboResets, c.angry ? 1 : 0) << c.rating;
    EXPECT_EQ(guest->GetPatience(), c.angry ? 199 : 200);
    EXPECT_EQ(guest->GetState(), c.angry ? kAnimUpset : kAnimIdle);
    for (auto& g : guests) g->ClearSeat();
  }
}

TEST_F(GuestTest, ASeatWaitChosenAfterItsTimerEndsTheSameWay) {
  auto left = Guest(4);
  left->SetSeat(table, 0);
  auto guest = Guest();
  guest->SetSeat(table, 1);
  guest->SetDesire(kDesireSeatWait);
  guest->SetDesireStep(TFestraGuest::kSeatWaitStep);
  guest->SetSeatWaitCountdown(150);
  guest->SetStepTimes({0, 1000, 2000, 3000, 4000});
  EXPECT_EQ(Tick(*guest, 100), kDesireSeatWait) << "a free chair beside it: it waits on";
  EXPECT_EQ(guest->GetSpecialState(), kSpecialWaiting);
  guest->SetSpecialState(kSpecialChoose);
  guest->SetDesireStep(TFestraGuest::kSeatWaitStep);
  EXPECT_EQ(Tick(*guest, 100), kGuestNothing);
  const std::vector<std::pair<TFestraGuest*, int>> handled = {{guest.get(), kDesireGift}};
  EXPECT_EQ(level.handled, handled);
  EXPECT_EQ(level.comboResets, 1) << "its countdown ran out";
  EXPECT_EQ(guest->GetState(), kAnimUpset);
}

TEST_F(GuestTest, TheLevelsSpecialStatesHoldTheGuest) {
  auto frozen = Waiting(kDesireAppetizer);
  frozen->SetPatience(100);
  frozen->SetPatienceBonus(50);
  frozen->SetSpecialState(kSpecialFrozen);
  EXPECT_EQ(Tick(*frozen, 100), kGuestNothing);
  frozen->AddPatienceBonus();
  EXPECT_EQ(frozen->GetPatience(), 100);
  EXPECT_EQ(frozen->GetSpecialState(), kSpecialFrozen);

  auto held = Waiting(kDesireDinner);
  held->SetDesire(kSpecialLevel17);
  EXPECT_EQ(held->GetDesire(), kDesireLevelWait);
  EXPECT_EQ(held->GetDesireStep(), 2);
  EXPECT_EQ(Tick(*held, 100), kSpecialLevel17);
  EXPECT_EQ(held->GetPatience(), 300);

  auto paused = Waiting(kDesireDinner);
  paused->SetSpecialState(kSpecialLevel18);
  EXPECT_EQ(Tick(*paused, 100), kSpecialLevel18);
  EXPECT_EQ(paused->AdvanceDesire(), kDesireDinner);
  EXPECT_EQ(paused->GetSpecialState(), kSpecialWaiting);

  auto chosen = Waiting(kDesireGift);
  chosen->SetDesireStep(2);
  EXPECT_EQ(chosen->AdvanceDesire(), kDesireAppetizer);
  EXPECT_EQ(chosen->GetDesireStep(), 3);
  EXPECT_EQ(chosen->GetStepTimer(), 3000);
}

TEST_F(GuestTest, TheDancePhaseWaitsOrDancesByTheLevelsFlag) {
  for (const int flag : {0, 1}) {
    auto guest = Waiting(kDesireCake);
    guest->SetDesire(kDesireDance);
    guest->SetDanceFlag(flag);
    EXPECT_EQ(guest->GetSpecialState(), kSpecialChoose);
    EXPECT_EQ(NextCode(*guest, 100), flag ? kDesireDance : kDesireResit);
    EXPECT_EQ(guest->GetDesireStep(), TFestraGuest::kDanceStep);
    EXPECT_EQ(guest->GetStepTimer(), flag ? 0 : 5000);
  }
  auto guest = Guest();
  guest->ShowReadyToDance();
  guest->ShowReadyToDance();
  EXPECT_EQ(guest->GetState(), kAnimHappy);
  EXPECT_EQ(level.effects, std::vector<std::string>{"fx/fx_guest_ready_to_dance.lua 200,300"});
}

TEST_F(GuestTest, SavedStateComesBackWithItsIconOrTheLevelsDesireIcon) {
  for (const int anim : {kAnimEating, kAnimSeated}) {
    level = TRecordingLevel{};
    auto guest = Waiting(kDesireAppetizer);
    guest->LoopState(anim);
    guest->SaveState();
    guest->SetDesire(kDesireResit);
    guest->LoopState(kAnimIdle);
    guest->RestoreState();
    EXPECT_EQ(guest->GetDesire(), kDesireAppetizer);
    EXPECT_EQ(guest->GetSpecialState(), kSpecialChoose);
    EXPECT_EQ(guest->GetState(), anim);
    EXPECT_EQ(guest->GetRequestIcon()->IsVisible(), anim == kAnimEating);
    EXPECT_EQ(level.desireIcons.size(), anim == kAnimEating ? 0u : 1u);
  }
}

TEST_F(GuestTest, HighlightsStandByTypeAndFollowTheSeatedActivity) {
  PutSheet("images/hl.png", 20, 10);
  PutSheet("images/hl_sit.png", 30, 12);
  struct Case {
    int type, standingX, standingY, seatedX, seatedY;
  };
  for (const Case c :
       {Case{0, -3, 6, -3, 5}, Case{1, -2, 8, -3, 6}, Case{2, 0, 8, 1, 5}, Case{3, 1, 8, -1, 6},
        Case{4, 0, 8, -2, 5}, Case{5, -4, 8, -3, 6}, Case{6, 0, 10, 0, 6}, Case{7, -6, 9, -3, 6},
        Case{8, -1, 8, -1, 5}, Case{9, -3, 7, -2, 7}, Case{12, 0, 0, 0, 0}}) {
    auto guest = Guest(c.type);
    guest->SetHighlightImage("assets/images/hl");
    const TPoint standing = guest->GetStandingHighlight()->GetPosition();
    const TPoint seated = guest->GetSeatedHighlight()->GetPosition();
    EXPECT_EQ(standing.x, c.standingX - 10) << c.type;
    EXPECT_EQ(standing.y, c.standingY - 9) << c.type;
    EXPECT_EQ(seated.x, c.seatedX - 15) << c.type;
    EXPECT_EQ(seated.y, c.seatedY - 11) << c.type;
  }
  EXPECT_TRUE(Logged("Unhandled guest type in SetHighlightImage"));

  auto guest = Guest();
  guest->SetHighlightImage("assets/images/hl");
  guest->SetHighlight(true);
  EXPECT_TRUE(guest->GetStandingHighlight()->IsVisible());
  EXPECT_FALSE(guest->GetSeatedHighlight()->IsVisible());
  guest->SetHighlight(false);
  guest->LoopState(kAnimSeated);
  guest->SetHighlight(true);
  EXPECT_FALSE(guest->GetStandingHighlight()->IsVisible());
  EXPECT_TRUE(guest->GetSeatedHighlight()->IsVisible());
  guest->SetHighlight(false);
  EXPECT_FALSE(guest->GetSeatedHighlight()->IsVisible());
}

TEST_F(GuestTest, TheBubbleFloatsAboveTheGuestByTypeAndMood) {
  struct Case {
    int type;
    bool seated;
    int patience, x, y;
  };
  // The guest's frame spans (180, 211) to (220, 301).
  for (const Case c :
       {Case{0, false, 300, 172, 131}, Case{0, true, 300, 171, 150}, Case{2, false, 300, 178, 131},
        Case{2, true, 300, 171, 150}, Case{5, false, 150, 176, 131}, Case{5, true, 300, 175, 150},
        Case{7, false, 300, 174, 126}, Case{7, true, 300, 171, 150}, Case{8, false, 300, 178, 131},
        Case{8, true, 300, 189, 150}, Case{9, false, 300, 172, 131},
        Case{9, true, 300, 175, 150}}) {
    auto guest = Guest(c.type, c.patience);
    if (c.seated) guest->LoopState(kAnimSeated);
    auto bubble = TMovingParticle::Create(0);
    guest->SetBubble(bubble);
    EXPECT_EQ(bubble->GetLayer(), 601);
    guest->PlaceBubble(true);
    EXPECT_EQ(bubble->GetPosition().x, c.x) << c.type << " " << c.seated;
    EXPECT_EQ(bubble->GetPosition().y, c.y) << c.type << " " << c.seated;
  }
  auto alert = Guest(5, 50);
  auto bubble = TMovingParticle::Create(0);
  alert->SetBubble(bubble);
  alert->PlaceBubble(true);
  EXPECT_GE(bubble->GetPosition().x, 184);
  EXPECT_LE(bubble->GetPosition().x, 185) << "13 further and shaking in the alert third";
  EXPECT_EQ(alert->GetBubble(), bubble);
  alert->ReleaseBubble();
  EXPECT_FALSE(alert->GetBubble());
}

TEST_F(GuestTest, BubbleImagesFollowTheMoodAndTheSideRequests) {
  struct Case {
    int patience, desire;
    const char* image;
  };
  for (const Case c : {Case{50, kDesireGift, "assets/images/guestbubble_alert0003"},
                       Case{150, kDesireGift, "assets/images/guestbubble_warning"},
                       Case{250, kDesireGift, "assets/images/guestbubble_normal"},
                       Case{50, kDesireMusic, "assets/images/guestbubble_alert_reseat.png"},
                       Case{150, kDesireDrink, "assets/images/guestbubble_warning_reseat.png"},
                       Case{250, kDesireResit, "assets/images/guestbubble_normal_reseat.png"}}) {
    auto guest = Guest(0, c.patience);
    guest->SetDesire(c.desire);
    EXPECT_EQ(std::string(guest->GetBubbleImage().c_str()), c.image);
  }
}

TEST_F(GuestTest, RequestIconsShowTheCourseTheGiftOrTheList) {
  for (const char* name :
       {"item_gift", "item_list", "a_full", "a_empty", "d_full", "d_empty", "c_full", "c_empty"}) {
    PutSheet(std::string("images/food/") + name + ".png", 20, 20);
  }
  const auto image = [](const char* name) {
    return GetRoomTexture(TString("assets/images/food/") + name);
  };
  struct Case {
    int desire;
    bool empty, visible;
    const char* name;
  };
  for (const Case c :
       {Case{kDesireGift, false, true, "item_gift"}, Case{kDesireGift, true, false, ""},
        Case{kDesireAppetizer, false, true, "a_full"},
        Case{kDesireAppetizer, true, true, "a_empty"}, Case{kDesireDinner, false, true, "d_full"},
        Case{kDesireCake, true, true, "c_empty"}, Case{kDesireMusic, false, true, "item_list"},
        Case{kDesireMusic, true, false, ""}, Case{kDesireDrink, false, false, ""}}) {
    auto guest = Guest();
    guest->SetFoodImages({"assets/images/food/a_full", "assets/images/food/a_empty", "",
                          "assets/images/food/d_full", "assets/images/food/d_empty", "",
                          "assets/images/food/c_full", "assets/images/food/c_empty", ""});
    guest->LoopState(kAnimEating);
    guest->ShowRequestIcon(c.desire, c.empty);
    const auto& icon = guest->GetRequestIcon();
    EXPECT_EQ(icon->IsVisible(), c.visible) << c.desire << " " << c.empty;
    if (c.visible) {
      EXPECT_EQ(icon->GetTexture(), image(c.name)) << c.desire;
      EXPECT_EQ(icon->GetPosition().x, 2 - 10) << "top centre at (2, -6)";
      EXPECT_EQ(icon->GetPosition().y, -6);
    }
    const bool leavesTheDish = c.empty || c.desire == kDesireMusic;
    EXPECT_EQ(guest->GetState(), leavesTheDish ? kAnimSeated : kAnimEating) << c.desire;
  }
}

TEST_F(GuestTest, MoodAnimationsFollowTheThirdAndIdleFollowsPatience) {
  struct Case {
    int patience, anim;
  };
  for (const Case c : {Case{300, kAnimHappy}, Case{150, kAnimSeated}, Case{50, kAnimUpset}}) {
    auto guest = Waiting(kDesireDinner);
    guest->SetPatience(c.patience);
    guest->LoopState(kAnimSeated);
    Step(10);
    guest->UpdateMoodAnimation(10);
    EXPECT_EQ(guest->GetState(), c.anim) << c.patience;
  }
  auto angry = Waiting(kDesireDinner);
  angry->LoopState(kAnimSeated);
  angry->PlayAngry();
  angry->UpdateMoodAnimation(10);
  EXPECT_EQ(angry->GetState(), kAnimUpset) << "the upset animation plays out first";

  auto standing = Guest(0, 101);
  standing->SetDesire(kDesireGift);
  standing->LoopState(kAnimStanding);
  standing->RefreshIdleState();
  EXPECT_EQ(standing->GetState(), kAnimIdle);
  standing->SetPatience(100);
  standing->RefreshIdleState();
  EXPECT_EQ(standing->GetState(), kAnimImpatient);
}

}  // namespace
