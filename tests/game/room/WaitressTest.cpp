// Servers and the planner stepped with the engine clock against a recording level: the click
// queue's order, duplicates and limits, approach spots, targets pushed below obstacles and
// kept in the room, walking, facing and carried items, pick-up and hand-over, targets that
// leave, idle ambients, the planner's fix, and clicks on the character itself.
#include <gtest/gtest.h>

#include <functional>

#include "game/room/RoomArt.h"
#include "game/room/RoomCodes.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraTable.h"
#include "game/room/TFestraWaitress.h"
#include "game/room/TMovingParticle.h"
#include "game/room/TRequestItem.h"
#include "tests/game/room/RoomFixture.h"

namespace {

using TW = TFestraWaitress;

const char* const kRedStates[TW::kLookStates] = {
    "idle",   "idle1",  "idle2",  "west0", "west1", "west2", "south0", "south1", "south2",
    "north0", "north1", "north2", "east0", "east1", "east2", "amb1",   "1amb1",  "2amb1"};

// An object that hands out picks, counting what servers ask of it.
class TPickTable : public TFestraObject {
 public:
  explicit TPickTable(int layer) : TFestraObject(layer) {}
  void MarkClickedItem() override { ++commits; }
  void UnmarkFirstItem() override { ++drops; }
  int commits = 0;
  int drops = 0;
};

class WaitressTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    for (const char* state : kRedStates) {
      PutAnimation(std::string("images/character/Red/waitress_red_") + state, 2, 30, 60, 15, 59);
    }
    for (int state = 0; state < 8; ++state) {
      PutAnimation("images/guest/g" + std::to_string(state), 2, 40, 90, 20, 89);
    }
    PutSheet("images/station.png", 60, 40);
    PutSheet("images/item.png", 10, 11);
  }

  std::shared_ptr<TW> Server(int x, int y, const std::vector<TRect>& obstacles = {}) {
    auto server = TW::Create(700);
    server->SetLook(0);
    server->SetRole(TW::kServer);
    server->SetOwner(&level);
    server->SetObstacles(obstacles);
    server->SetStartPosition(x, y);
    server->SetSpeed(100.0f);
    server->PlayActionLooped(TW::kActionIdle);
    return server;
  }
  // A station of 60 x 40 with its top-left corner at (x, y).
  template <class T = TFestraObject>
  std::shared_ptr<T> Station(int type, int x, int y) {
    auto station = std::make_shared<T>(500);
    station->SetTexture(GetRoomTexture("assets/images/station"));
    station->SetObjectType(type);
    station->PlaceAt(x, y, kAnchorTopLeft);
    return station;
  }
  std::shared_ptr<TFestraGuest> Guest(int x, int y) {
    auto guest = TFestraGuest::Create(600);
    std::vector<TString> names;
    for (int state = 0; state < 8; ++state) {
      names.push_back(TString::Format("assets/images/guest/g%d", state));
    }
    guest->LoadAnimations(names, 0);
    guest->SetOwner(&level);
    guest->PlaceAt(x, y, kStoredAnchor);
    return guest;
  }
  std::shared_ptr<TFestraSprite> Item() {
    auto item = TFestraSprite::Create(0);
    item->SetTexture(GetRoomTexture("assets/images/item"));
    return item;
  }
  bool Tick(TW& server, int dt = 20) {
    Step(static_cast<uint32_t>(dt));
    return server.Update(dt);
  }
  // Ticks until the server arrives; false when it has not within `limit` ticks.
  bool WalkUntilArrival(TW& server, int limit = 2000) {
    for (int i = 0; i < limit; ++i) {
      if (Tick(server)) return true;
    }
    return false;
  }
  // Serves every queued target as the level would: on each arrival `serve` acts and the
  // next target starts. Answers how many arrivals there were.
  int ServeAll(TW& server, const std::function<void()>& serve, int limit = 50000) {
    int arrivals = 0;
    for (int i = 0; i < limit && (server.HasCurrentTask() || server.GetQueueCount() > 0); ++i) {
      if (!Tick(server)) continue;
      ++arrivals;
      serve();
      server.StartNextTask();
    }
    return arrivals;
  }
};

TEST_F(WaitressTest, ClicksOnTheSameGuestQueueOnceAndTheWineTableTwice) {
  auto server = Server(400, 500);
  auto guest = Guest(200, 300);
  auto wine = Station(kObjectWineTable, 600, 100);
  server->QueueGuest(guest);
  server->QueueGuest(guest);
  EXPECT_EQ(server->GetCurrentGuest(), guest) << "the first click starts at once";
  EXPECT_EQ(server->GetQueueCount(), 0);
  EXPECT_EQ(guest->GetMarkCount(), 1);
  server->QueueObject(wine);
  server->QueueObject(wine);
  server->QueueGuest(guest);
  server->QueueGuest(guest);
  EXPECT_EQ(server->GetQueueCount(), 3);
  EXPECT_EQ(wine->GetMarkCount(), 2);
  EXPECT_EQ(guest->GetMarkCount(), 2);
  EXPECT_EQ(level.clickSounds, 4);
}

TEST_F(WaitressTest, TheQueueHoldsOneLessThanItsLimit) {
  for (int limit : {100, 5}) {
    SCOPED_TRACE(limit);
    auto server = Server(400, 500);
    server->SetQueueLimit(limit);
    auto a = Station(kObjectGuestTable, 100, 100);
    auto b = Station(kObjectGuestTable, 300, 100);
    for (int click = 0; click < limit + 1; ++click) server->QueueObject(click % 2 ? b : a);
    EXPECT_EQ(server->GetQueueCount(), limit - 1);
    EXPECT_EQ(a->GetMarkCount() + b->GetMarkCount(), limit) << "one walked to, the rest queued";
  }
}

TEST_F(WaitressTest, TwelveQueuedClicksAreServedInOrder) {
  std::vector<std::shared_ptr<TFestraObject>> tables;
  std::vector<TRect> obstacles;
  for (int i = 0; i < 12; ++i) {
    tables.push_back(Station(kObjectGuestTable, 40 + (i % 4) * 180, 100 + (i / 4) * 150));
    obstacles.push_back(tables.back()->GetBounds(0));
  }
  auto server = Server(400, 560, obstacles);
  server->SetQueueLimit(20);
  for (const auto& table : tables) server->QueueObject(table);
  EXPECT_EQ(server->GetQueueCount(), 11);

  std::vector<TFestraObject*> served;
  const int arrivals = ServeAll(*server, [&] {
    auto table = server->GetCurrentObject();
    ASSERT_TRUE(table);
    served.push_back(table.get());
    table->SetMarkCount(table->GetMarkCount() - 1);
    const TRect b = table->GetBounds(0);
    EXPECT_EQ(server->GetPosition().x, b.left + 30);
    EXPECT_EQ(server->GetPosition().y, b.bottom + 5);
  });
  EXPECT_EQ(arrivals, 12);
  ASSERT_EQ(served.size(), 12u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(served[i], tables[i].get()) << i;
    EXPECT_EQ(tables[i]->GetMarkCount(), 0) << i;
  }
  EXPECT_EQ(server->GetFacing(), TW::kStanding);
  EXPECT_EQ(server->GetState(), 0);
}

TEST_F(WaitressTest, ApproachSpotsFollowTheTargetsType) {
  struct TCase {
    int type;
    TPoint spot;  // for a 60 x 40 station at (100, 100) and a 30 x 60 server
  };
  const TCase cases[] = {
      {kObjectGuestTable, {130, 145}}, {kObjectMusicTable, {130, 130}},
      {kObjectHeadTable, {130, 145}},  {kObjectChefStation, {115, 170}},
      {kObjectHeroine, {130, 155}},    {kObjectDishBin, {105, 145}},
      {kObjectWineTable, {105, 145}},  {1305, {130, 140}},
      {kEventCakeTipped, {130, 140}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.type);
    auto server = Server(400, 500);
    auto station = Station(c.type, 100, 100);
    server->QueueObject(station);
    EXPECT_EQ(server->GetTarget().x, c.spot.x);
    EXPECT_EQ(server->GetTarget().y, c.spot.y);
  }
  auto server = Server(400, 500);
  auto guest = Guest(200, 300);
  const TRect b = guest->GetCachedBounds(true);
  server->QueueGuest(guest);
  EXPECT_EQ(server->GetTarget().x, b.left + (b.right - b.left) / 2);
  EXPECT_EQ(server->GetTarget().y, b.bottom + 5);
}

TEST_F(WaitressTest, TargetsArePushedBelowObstaclesAndKeptInTheRoom) {
  const std::vector<TRect> obstacles = {
      {100, 100, 200, 200}, {150, 201, 250, 260}, {0, 550, 799, 599}};
  auto server = Server(400, 400, obstacles);
  struct TCase {
    TPoint to, target;
  };
  const TCase cases[] = {
      {{160, 150}, {160, 261}},  // below the first, into the second, below that
      {{120, 200}, {120, 201}},  // the bottom edge counts as inside
      {{300, 580}, {300, 599}},  // pushed past the room's bottom edge
      {{900, -10}, {799, 0}},    // a spot beyond the edges
  };
  for (const TCase& c : cases) {
    server->WalkTo(c.to.x, c.to.y);
    EXPECT_EQ(server->GetTarget().x, c.target.x) << c.to.x << "," << c.to.y;
    EXPECT_EQ(server->GetTarget().y, c.target.y) << c.to.x << "," << c.to.y;
  }
  server->WalkTo(900, -10);
  for (int i = 0; i < 2000 && !server->GetPath().empty(); ++i) Tick(*server);
  EXPECT_EQ(server->GetPosition().x, 799);
  EXPECT_EQ(server->GetPosition().y, 0);
}

TEST_F(WaitressTest, WalkingFacesItsWayAndCarriesItemsByFacing) {
  struct TCase {
    TPoint to;
    int facing, action;
    TPoint step;
  };
  const TCase cases[] = {
      {{400, 300}, TW::kEast, TW::kActionEast, {302, 300}},
      {{200, 300}, TW::kWest, TW::kActionWest, {298, 300}},
      {{300, 200}, TW::kNorth, TW::kActionNorth, {300, 298}},
      {{300, 400}, TW::kSouth, TW::kActionSouth, {300, 302}},
  };
  // Bottom-centre items of 10 x 11: the top-left is 5 left of and 10 above the hand.
  const TPoint one[] = {{10, -50}, {23, -45}, {-15, -45}, {15, -51}};
  const TPoint first[] = {{8, -44}, {23, -39}, {-23, -47}, {15, -45}};
  const TPoint second[] = {{-26, -44}, {-24, -39}, {24, -49}, {-20, -45}};
  for (int carried = 0; carried <= 2; ++carried) {
    for (const TCase& c : cases) {
      SCOPED_TRACE(testing::Message() << carried << " items to " << c.to.x << "," << c.to.y);
      auto server = Server(300, 300);
      if (carried >= 1) server->SetFirstItem(Item());
      if (carried == 2) server->SetSecondItem(Item());
      server->WalkTo(c.to.x, c.to.y);
      EXPECT_FALSE(Tick(*server));
      EXPECT_EQ(server->GetFacing(), c.facing);
      EXPECT_EQ(server->GetState(), c.action + carried);
      EXPECT_TRUE(server->IsWalking());
      EXPECT_EQ(server->GetPosition().x, c.step.x) << "100 px/s for 20 ms";
      EXPECT_EQ(server->GetPosition().y, c.step.y);
      if (carried == 1) {
        EXPECT_EQ(server->GetFirstItem()->GetPosition().x, one[c.facing].x - 5);
        EXPECT_EQ(server->GetFirstItem()->GetPosition().y, one[c.facing].y - 10);
      } else if (carried == 2) {
        EXPECT_EQ(server->GetFirstItem()->GetPosition().x, first[c.facing].x - 5);
        EXPECT_EQ(server->GetFirstItem()->GetPosition().y, first[c.facing].y - 10);
        EXPECT_EQ(server->GetSecondItem()->GetPosition().x, second[c.facing].x - 5);
        EXPECT_EQ(server->GetSecondItem()->GetPosition().y, second[c.facing].y - 10);
      }
      for (int i = 0; i < 200 && !server->GetPath().empty(); ++i) Tick(*server);
      Tick(*server);
      EXPECT_EQ(server->GetPosition().x, c.to.x);
      EXPECT_EQ(server->GetPosition().y, c.to.y);
      EXPECT_EQ(server->GetFacing(), TW::kStanding);
      EXPECT_FALSE(server->IsWalking());
      EXPECT_EQ(server->GetState(), carried) << "idle with the items carried";
    }
  }
}

TEST_F(WaitressTest, ALoneItemInTheSecondHandMovesToTheFirst) {
  auto server = Server(300, 300);
  auto item = Item();
  server->SetSecondItem(item);
  EXPECT_EQ(server->GetFirstItem(), item);
  EXPECT_FALSE(server->GetSecondItem());
  EXPECT_EQ(item->GetParent(), server.get());
  server->ClearFirstItem();
  EXPECT_FALSE(item->GetParent());
}

TEST_F(WaitressTest, PickUpAndHandOver) {
  auto server = Server(400, 500);
  auto guest = Guest(200, 300);
  auto item = std::make_shared<TRequestItem>(520);
  item->SetTexture(GetRoomTexture("assets/images/station"));
  item->PlaceAt(500, 100, kAnchorTopLeft);
  server->QueueObject(item);
  server->QueueGuest(guest);
  EXPECT_EQ(item->GetMarkCount(), 1);
  EXPECT_EQ(guest->GetMarkCount(), 1);

  std::vector<std::string> steps;
  ServeAll(*server, [&] {
    if (server->GetCurrentObject() == item) {
      steps.push_back("pick up");
      item->SetMarked(false);
      server->SetFirstItem(item);
    } else if (server->GetCurrentGuest() == guest) {
      steps.push_back("hand over");
      EXPECT_EQ(server->GetFirstItem(), item);
      server->ClearFirstItem();
      guest->SetMarkCount(guest->GetMarkCount() - 1);
    }
  });
  EXPECT_EQ(steps, (std::vector<std::string>{"pick up", "hand over"}));
  EXPECT_EQ(level.clickSounds, 2);
  EXPECT_EQ(item->GetMarkCount(), 0);
  EXPECT_EQ(guest->GetMarkCount(), 0);
  EXPECT_FALSE(item->GetParent());
  EXPECT_EQ(server->GetFacing(), TW::kStanding);
  EXPECT_EQ(server->GetState(), 0);
}

TEST_F(WaitressTest, AGuestThatLeavesIsNoLongerWalkedTo) {
  auto server = Server(400, 500);
  auto leaving = Guest(200, 300);
  auto gone = Guest(300, 300);
  auto table = Station(kObjectGuestTable, 600, 300);
  server->QueueGuest(leaving);
  server->QueueGuest(gone);
  server->QueueObject(table);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Tick(*server));
  leaving.reset();
  gone.reset();
  EXPECT_FALSE(Tick(*server)) << "no arrival at a guest that has left";
  EXPECT_EQ(server->GetCurrentObject(), table) << "the queued guest that left is skipped too";
  EXPECT_TRUE(WalkUntilArrival(*server));
  EXPECT_EQ(server->GetCurrentObject(), table);

  auto last = Guest(200, 300);
  server->StartNextTask();
  server->QueueGuest(last);
  Tick(*server);
  last.reset();
  EXPECT_FALSE(Tick(*server));
  EXPECT_FALSE(server->HasCurrentTask());
  EXPECT_TRUE(server->GetPath().empty()) << "it stops where it is";
  EXPECT_EQ(server->GetFacing(), TW::kStanding);
}

TEST_F(WaitressTest, ALongSearchGoesOnOverLaterTicksWhileTheServerWaits) {
  // A platform clock that moves on 60 ms at every reading: each search expands one cell.
  auto server = Server(100, 300);
  TFakeClock slow(1000, 60);
  server->WalkTo(700, 300);
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(Tick(*server));
    EXPECT_EQ(server->GetPosition().x, 100) << "waiting for its path";
    EXPECT_NE(server->GetPath().back().x, 700);
  }
  slow.step = 0;
  Tick(*server);
  EXPECT_EQ(server->GetPath().back().x, 700) << "the search finished";
  EXPECT_EQ(server->GetPosition().x, 100);
  Tick(*server);
  EXPECT_EQ(server->GetPosition().x, 102);
}

TEST_F(WaitressTest, ASpeedOfZeroStandsStill) {
  auto server = Server(100, 300);
  server->SetSpeed(0.0f);
  server->WalkTo(300, 300);
  for (int i = 0; i < 5; ++i) Tick(*server);
  EXPECT_EQ(server->GetPosition().x, 100);
  EXPECT_FALSE(server->GetPath().empty());
}

TEST_F(WaitressTest, AnUnreachableTargetIsReachedWhereTheServerStands) {
  const std::vector<TRect> ring = {
      {360, 360, 440, 365}, {360, 435, 440, 440}, {360, 360, 365, 440}, {435, 360, 440, 440}};
  auto server = Server(100, 500, ring);
  auto guest = Guest(200, 300);
  server->WalkToGuest(guest, 400, 400);
  EXPECT_TRUE(server->GetPath().empty());
  EXPECT_TRUE(Tick(*server));
  EXPECT_EQ(server->GetPosition().x, 100);
  EXPECT_EQ(server->GetPosition().y, 500);
}

TEST_F(WaitressTest, ClearQueueTakesBackEveryMark) {
  auto server = Server(400, 500);
  auto current = Station(kObjectGuestTable, 100, 100);
  auto guest = Guest(200, 300);
  auto bin = Station(kObjectDishBin, 300, 100);
  auto serving = Station<TPickTable>(kObjectChefStation, 500, 100);
  auto item = std::make_shared<TRequestItem>(520);
  server->QueueObject(current);
  server->QueueGuest(guest);
  server->QueueObject(bin);
  server->QueueObject(serving);
  server->QueueObject(item);
  EXPECT_EQ(serving->commits, 1);
  EXPECT_EQ(serving->GetMarkCount(), 0) << "the serving table marks its own picks";
  EXPECT_EQ(item->GetMarkCount(), 1);
  EXPECT_EQ(server->GetQueueCount(), 4);
  server->ClearQueue();
  EXPECT_EQ(server->GetQueueCount(), 0);
  EXPECT_EQ(guest->GetMarkCount(), 0);
  EXPECT_EQ(bin->GetMarkCount(), 0);
  EXPECT_EQ(serving->drops, 1);
  EXPECT_EQ(item->GetMarkCount(), 0);
  EXPECT_EQ(current->GetMarkCount(), 1) << "the target walked to stays";
  EXPECT_EQ(server->GetCurrentObject(), current);
}

TEST_F(WaitressTest, APausedServerIgnoresClicksAndThePlannerDoesNot) {
  level.waitressPaused = true;
  auto server = Server(400, 500);
  auto guest = Guest(200, 300);
  server->QueueGuest(guest);
  server->QueueObject(Station(kObjectGuestTable, 100, 100));
  EXPECT_FALSE(server->HasCurrentTask());
  EXPECT_EQ(guest->GetMarkCount(), 0);
  EXPECT_TRUE(server->GetStay());

  auto planner = Server(400, 500);
  planner->SetRole(TW::kPlanner);
  planner->QueueGuest(guest);
  EXPECT_EQ(planner->GetCurrentGuest(), guest);
}

TEST_F(WaitressTest, AServerSentOffWalksToItsRestPointAfterAPause) {
  PutSheet("images/table300.png", 300, 80);
  PutSheet("images/chair.png", 34, 52);
  auto table = TFestraTable::Create(508);
  table->Setup("assets/images/table300", 4, 100, 200, "assets/images/chair");
  auto guest = Guest(200, 300);
  guest->SetSeat(table, 1);
  auto server = Server(400, 500);
  server->SetRestPointBesideTable(*guest);
  server->UpdateReturnTimer(600);
  EXPECT_TRUE(server->GetPath().empty()) << "a server set to stay stays";
  server->SetStay(false);
  server->UpdateReturnTimer(500);
  EXPECT_TRUE(server->GetPath().empty());
  server->UpdateReturnTimer(1);
  EXPECT_EQ(server->GetTarget().x, 100 + 300 + 15);
  EXPECT_EQ(server->GetTarget().y, 505);
  EXPECT_FALSE(server->GetPath().empty());
  server->WalkTo(400, 500);
  server->UpdateReturnTimer(1000);
  EXPECT_EQ(server->GetTarget().x, 400) << "one rest walk per rest point";
}

TEST_F(WaitressTest, AClickOnTheCharacterReports1900) {
  auto server = Server(400, 500);
  EXPECT_TRUE(server->OnClick(TPoint{400, 480}));
  ASSERT_EQ(level.clicks.size(), 1u);
  EXPECT_EQ(level.clicks[0].first, server.get());
  EXPECT_EQ(level.clicks[0].second, kClickCharacter);
  server->SetOwner(nullptr);
  EXPECT_FALSE(server->OnClick(TPoint{400, 480}));
}

TEST_F(WaitressTest, AStandingServerPlaysAnAmbientWhenItsIdleTimeRunsOut) {
  auto server = Server(400, 500);
  for (int i = 0; i < 99; ++i) Tick(*server, 50);
  EXPECT_EQ(server->GetIdleTimer(), 50);
  EXPECT_EQ(server->GetState(), 0);
  Tick(*server, 50);
  EXPECT_EQ(server->GetState(), TW::kActionAmbient);
  EXPECT_TRUE(server->IsPlayingAmbient());
  EXPECT_GE(server->GetIdleTimer(), 500);
  EXPECT_LE(server->GetIdleTimer(), 5000);
}

TEST_F(WaitressTest, ThePlannerFixesAProblemAndWalksBack) {
  const char* const names[] = {"idle", "west", "south", "north", "east",
                               "amb1", "amb2", "amb3",  "fix",   "happy"};
  auto planner = TW::Create(700);
  for (const char* name : names) {
    PutAnimation(std::string("images/character/Velka/velka_") + name, 2, 30, 60, 15, 59);
    planner->AddState(TString::Format("assets/images/character/Velka/velka_%s.xml", name));
  }
  planner->SetRole(TW::kPlanner);
  planner->SetOwner(&level);
  planner->SetObstacles({});
  planner->SetStartPosition(400, 500);
  planner->SetSpeed(100.0f);
  auto cake = Station(kEventCakeTipped, 440, 300);
  auto balloon = TMovingParticle::Create(0);
  planner->SetBalloon(balloon);
  planner->QueueObject(cake);
  EXPECT_EQ(cake->GetMarkCount(), 1);
  ASSERT_TRUE(WalkUntilArrival(*planner));
  EXPECT_TRUE(planner->IsBusy());
  EXPECT_EQ(planner->GetCurrentObject(), cake);
  EXPECT_EQ(balloon->GetPosition().x, planner->GetPosition().x);
  EXPECT_EQ(balloon->GetPosition().y, planner->GetPosition().y - TW::kBalloonRise);
  planner->StartNextTask();
  EXPECT_FALSE(planner->HasCurrentTask()) << "a busy planner only drops the task";
  Tick(*planner);
  EXPECT_EQ(planner->GetState(), 8) << "the fix animation";
  int ticks = 0;
  while (planner->IsBusy() && ticks++ < 100) Tick(*planner);
  EXPECT_FALSE(planner->IsBusy());
  EXPECT_FALSE(planner->GetPath().empty()) << "on its way back";
  for (int i = 0; i < 2000 && !planner->GetPath().empty(); ++i) Tick(*planner);
  EXPECT_EQ(planner->GetPosition().x, 400);
  EXPECT_EQ(planner->GetPosition().y, 500);
}

}  // namespace
