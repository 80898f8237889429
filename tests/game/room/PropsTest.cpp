// The room's props driven through a recording level: tables and chairs, the cake table, the
// speaker, the menu card, text sprites and the guest book, moving and request items.
#include <gtest/gtest.h>

#include "game/room/TCakeTable.h"
#include "game/room/TDishBin.h"
#include "game/room/TFestraChair.h"
#include "game/room/TFestraTable.h"
#include "game/room/TFestraText.h"
#include "game/room/TGuestBook.h"
#include "game/room/TMovingParticle.h"
#include "game/room/TRequestItem.h"
#include "game/room/TSMenu.h"
#include "game/room/TServedItems.h"
#include "game/room/TSpeaker.h"
#include "tests/game/room/RoomFixture.h"

namespace {

std::vector<int> Corners(const TRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

class PropsTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    PutSheet("images/table300.png", 300, 80);
    PutSheet("images/chair.png", 34, 52);
    PutSheet("images/mark.png", 24, 24);
    PutAnimation("images/checkmark", 4, 30, 30, 15, 15,
                 "function DoAnim() delay(50); frames{1,2,3,4}; end");
  }
  std::shared_ptr<TFestraTable> Table(int chairs) {
    auto table = TFestraTable::Create(508);
    table->Setup("assets/images/table300", chairs, 100, 200, "assets/images/chair");
    return table;
  }
};

TEST_F(PropsTest, ChairsStandInARowBehindTheTable) {
  auto table = Table(4);
  EXPECT_EQ(table->GetChairPitch(), 68);
  std::vector<int> xs;
  for (int i = 0; i < 4; ++i) {
    auto chair = table->GetChair(i);
    ASSERT_TRUE(chair);
    EXPECT_EQ(chair->GetSeatIndex(), i);
    EXPECT_EQ(chair->GetTable(), table.get());
    EXPECT_EQ(chair->GetParent(), table.get());
    EXPECT_EQ(chair->GetLayer(), -1);
    EXPECT_EQ(chair->GetPosition().y, 4 - 51) << "bottom-left at y 4";
    xs.push_back(chair->GetPosition().x);
  }
  EXPECT_EQ(xs, (std::vector<int>{22, 90, 158, 226}));
  EXPECT_EQ(Corners(table->GetChair(0)->GetSeatBounds()), (std::vector<int>{122, 153, 156, 205}));
  EXPECT_EQ(table->GetCheckMark()->GetDrawSpec().GetPosition().x, 150);
  EXPECT_EQ(table->GetCheckMark()->GetDrawSpec().GetPosition().y, 30);

  table->SetMarkImage("assets/images/mark");
  EXPECT_EQ(table->GetMark()->GetParent(), table.get());
  EXPECT_EQ(table->GetMark()->GetPosition().x, 138);
  EXPECT_EQ(table->GetMark()->GetPosition().y, 46);
  EXPECT_TRUE(table->IsKindOf(TFestraObject::GetClassId()));
  EXPECT_TRUE(table->GetChair(0)->IsKindOf(TFestraSprite::GetClassId()));
}

TEST_F(PropsTest, ChairCountsOutsideOneToSixteenAreClampedAndBadIndicesGiveNull) {
  struct Case {
    int asked, made;
  };
  for (const Case c : {Case{0, 1}, Case{-3, 1}, Case{17, 16}, Case{16, 16}}) {
    auto table = Table(c.asked);
    EXPECT_EQ(table->GetChairCount(), c.made) << c.asked;
    EXPECT_TRUE(table->GetChair(c.made - 1));
    EXPECT_FALSE(table->GetChair(c.made));
    EXPECT_FALSE(table->GetChair(-1));
  }
  EXPECT_TRUE(Logged("TFestraTable::Setup: 0 chairs for table assets/images/table300"));
  auto bare = TFestraTable::Create(0);
  bare->SetChairImage("assets/images/chair");  // no chairs: nothing to do
  EXPECT_FALSE(bare->GetChair(0));
}

TEST_F(PropsTest, NeighbourCountsFollowTheRowAndTheOccupiedSeats) {
  auto table = Table(4);
  EXPECT_EQ((std::vector<int>{table->CountNeighbours(0), table->CountNeighbours(1),
                              table->CountNeighbours(2), table->CountNeighbours(3)}),
            (std::vector<int>{1, 2, 2, 1}));
  EXPECT_EQ(table->CountFreeNeighbours(1), 2);
  table->SetOccupied(1, true);
  table->SetOccupied(3, true);
  table->SetOccupied(3, true);
  EXPECT_EQ(table->GetSeatedCount(), 2) << "a seat is counted once";
  EXPECT_EQ(table->CountFreeNeighbours(2), 0);
  EXPECT_EQ(table->CountFreeNeighbours(0), 0);
  table->SetOccupied(1, false);
  EXPECT_EQ(table->GetSeatedCount(), 1);
  EXPECT_FALSE(table->SetOccupied(4, true));

  auto single = Table(1);
  EXPECT_EQ(single->CountNeighbours(0), 1);
  EXPECT_EQ(single->CountFreeNeighbours(0), 0);
}

class CakeTableTest : public PropsTest {
 protected:
  void SetUp() override {
    PropsTest::SetUp();
    PutAnimation("images/cake_table", 1, 100, 96, 0, 0);
    PutAnimation("images/Problems/table_tipped", 1, 100, 96, 0, 0);
    PutAnimation("images/cake", 2, 48, 52, 24, 48);
    PutAnimation("images/cake_tipped", 2, 48, 52, 24, 48);
    cake = TCakeTable::Create(5);
    cake->SetCakeImages("assets/images/cake", "assets/images/cake_tipped");
  }
  // A seed whose first draw of 0..100 is at least `least`.
  static uint32_t SeedDrawingAtLeast(int least) {
    for (uint32_t seed = 1;; ++seed) {
      TvSrand(seed);
      if (TvRand() % 101 >= least) return seed;
    }
  }
  std::shared_ptr<TCakeTable> cake;
};

TEST_F(CakeTableTest, TheTableTipsOnceAfterItsDelayAndRaisesItsProblem) {
  EXPECT_EQ(cake->GetState(), TCakeTable::kUpright);
  EXPECT_FLOAT_EQ(cake->GetCake()->GetScale(), 1.6666666f);
  EXPECT_FLOAT_EQ(cake->GetCake()->GetDrawSpec().GetPosition().x, 20);
  EXPECT_FLOAT_EQ(cake->GetCake()->GetDrawSpec().GetPosition().y, 45);
  EXPECT_EQ(cake->GetCake()->GetLayer(), 6);

  cake->SetTipOver(3000, 100, &level);
  TvSrand(1);  // first draw 41 % 101: below 100
  EXPECT_FALSE(cake->CheckTipOver(1000));
  EXPECT_FALSE(cake->CheckTipOver(1000));
  EXPECT_FALSE(cake->CheckTipOver(1000)) << "3000 is not more than the delay";
  EXPECT_TRUE(cake->CheckTipOver(1000));
  EXPECT_EQ(cake->GetState(), TCakeTable::kTipped);
  EXPECT_EQ(cake->GetCake()->GetState(), TCakeTable::kTipped);
  ASSERT_EQ(level.added.size(), 1u);
  EXPECT_EQ(level.added[0].code, 1002);
  EXPECT_EQ(level.added[0].spots, (std::vector<int>{475, 96 + 115, 455, 30, 465, 80}));
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(cake->CheckTipOver(1000)) << "once only";
  EXPECT_EQ(level.added.size(), 1u);

  cake->OnProblemFixed();
  EXPECT_EQ(cake->GetState(), TCakeTable::kUpright);
  EXPECT_EQ(cake->GetCake()->GetState(), TCakeTable::kUpright);
  EXPECT_EQ(level.removed, (std::vector<int>{1002}));
  EXPECT_EQ(level.counts, (std::vector<std::pair<std::string, int>>{{"VelkaEventsCompleted", 1}}));
  EXPECT_FALSE(cake->CheckTipOver(100000));
}

TEST_F(CakeTableTest, AFailedDrawWaitsAWholeNewDelay) {
  const uint32_t seed = SeedDrawingAtLeast(50);
  TvSrand(seed);
  TvRand();
  const int second = TvRand();
  TvSrand(seed);
  cake->SetTipOver(3000, 50, &level);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(cake->CheckTipOver(1000));
  EXPECT_FALSE(cake->CheckTipOver(1000)) << "the draw fails";
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(cake->CheckTipOver(1000));
  EXPECT_EQ(TvRand(), second) << "no draw within the new delay";
  EXPECT_TRUE(level.added.empty());
}

TEST_F(CakeTableTest, NoChanceNeverTipsAndAFixWithoutATipStillRemovesTheProblem) {
  cake->SetTipOver(0, 0, &level);
  for (int i = 0; i < 20; ++i) EXPECT_FALSE(cake->CheckTipOver(5000));
  cake->OnProblemFixed();
  EXPECT_EQ(level.removed, (std::vector<int>{1002}));
  EXPECT_TRUE(level.added.empty());
}

TEST_F(PropsTest, TheSpeakerLetsItsSpriteGoOnceAndWhenItIsDestroyed) {
  auto room = TFestraSprite::Create(0);
  auto wire = TFestraStateAnim::Create(10510);
  wire->SetOwner(&level);
  room->AddChild(wire);
  auto speaker = TSpeaker::Create(10511);
  EXPECT_TRUE(speaker->IsKindOf(TFestraStateAnim::GetClassId()));
  speaker->AttachSprite(wire);
  speaker->DetachSprite();
  EXPECT_EQ(wire->GetParent(), nullptr);
  EXPECT_EQ(wire->GetOwner(), nullptr);
  EXPECT_FALSE(speaker->GetAttachedSprite());
  speaker->DetachSprite();  // nothing attached: nothing happens

  room->AddChild(wire);
  speaker->AttachSprite(wire);
  speaker.reset();
  EXPECT_TRUE(room->GetChildren().empty()) << "the speaker took its sprite along";
}

TEST_F(PropsTest, TheMenuCardShowsItsIconsDownASlantedColumn) {
  PutSheet("images/food/menu.png", 60, 110);
  PutSheet("images/food/icon.png", 34, 28);
  auto menu = TSMenu::Create(0);
  EXPECT_FALSE(menu->GetTexture());
  EXPECT_TRUE(menu->GetChildren().empty());
  for (int pass = 0; pass < 2; ++pass) {
    menu->SetImages("assets/images/food/menu.png", "assets/images/food/icon",
                    "assets/images/food/icon", "assets/images/food/icon");
  }
  EXPECT_EQ(menu->GetWidth(), 60);
  ASSERT_EQ(menu->GetChildren().size(), 3u) << "the same three icons again";
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(menu->GetIcon(i)->GetPosition().x, 30 - 4 * i);
    EXPECT_EQ(menu->GetIcon(i)->GetPosition().y, 35 * i);
    EXPECT_FLOAT_EQ(menu->GetIcon(i)->GetScale(), 1.6666666f);
    EXPECT_EQ(menu->GetIcon(i)->GetLayer(), 1);
  }
  menu->SetEntry(0, 7, 8);
  menu->SetEntry(2, 3000, 250);
  menu->SetEntry(3, 1, 1);
  EXPECT_EQ(menu->GetEntry(0).second, 8);
  EXPECT_EQ(menu->GetEntry(1).first, 0);
  EXPECT_EQ(menu->GetEntry(2).first, 3000);
  EXPECT_EQ(menu->GetEntry(2).second, 250);
  EXPECT_EQ(menu->GetEntry(2).third, 0);
}

TEST_F(PropsTest, TextBoxesFollowTheAnchorWithHalvesTowardZero) {
  struct Case {
    int anchor;
    std::vector<int> drawn, bounds;
  };
  // A text sprite has no picture: SetPosition takes its size as 0, so right and bottom
  // anchors put the corner one pixel past the point (x - (0 - 1)).
  const Case cases[] = {{kAnchorCentre, {150, 40, 250, 60}, {200, 50, 300, 70}},
                        {kAnchorTopLeft, {200, 50, 300, 70}, {200, 50, 300, 70}},
                        {kAnchorBottomRight, {101, 31, 201, 51}, {201, 51, 301, 71}},
                        {kAnchorRightMiddle, {101, 40, 201, 60}, {201, 50, 301, 70}},
                        {9, {0, 0, 100, 20}, {0, 0, 100, 20}}};
  const float black[4] = {0, 0, 0, 1};
  for (const Case& c : cases) {
    auto text = TFestraText::Create(0);
    text->SetupText("Hello", 100, 20, 0, "fonts/arial.mvec", 14, black);
    text->SetAnchor(c.anchor);
    text->SetPosition(200, 50, kStoredAnchor);
    Drawn([&] { text->Draw(TDrawSpec(), -1); });
    EXPECT_EQ(Corners(text->GetTextRect()), c.drawn) << "anchor " << c.anchor;
    EXPECT_EQ(Corners(text->GetTextBounds()), c.bounds) << "anchor " << c.anchor;
  }
  auto odd = TFestraText::Create(0);
  odd->SetupText("x", 101, 21, 0, "fonts/arial.mvec", 14, black);
  odd->SetAnchor(kAnchorCentre);
  odd->SetPosition(-10, 0, kStoredAnchor);
  Drawn([&] { odd->Draw(TDrawSpec(TVec2(0.9f, 0)), -1); });
  EXPECT_EQ(Corners(odd->GetTextRect()), (std::vector<int>{-59, -10, 42, 11}))
      << "-9.1 truncates to -9; half of 101 is 50";
}

TEST_F(PropsTest, TextBeforeSetupIsEmptyAndBoundsFollowTheParent) {
  auto parent = TFestraSprite::Create(0);
  parent->SetPosition(10.5f, 20, kStoredAnchor);
  auto text = TFestraText::Create(0);
  parent->AddChild(text);
  text->SetText("ignored");
  EXPECT_EQ(std::string(text->GetText().c_str()), "");
  const float black[4] = {0, 0, 0, 1};
  text->SetupText("Welcome!", 80, 25, 0, "fonts/arial.mvec", 14, black);
  text->SetText("Hello");
  EXPECT_EQ(std::string(text->GetText().c_str()), "Hello");
  text->SetPosition(5, 6, kStoredAnchor);
  EXPECT_EQ(Corners(text->GetBounds(-1)), (std::vector<int>{15, 26, 95, 51}));
}

struct TServedCake : TServedItems {
  bool WasServed(int kind) const override { return kind == 3; }
};

TEST_F(PropsTest, TheGuestBookShowsTheKindsInUseAndWhatTheGuestWasServed) {
  PutSheet("images/guestbk.png", 200, 130);
  for (const char* icon : {"appetizer", "dinner", "cake", "gift"})
    PutSheet(std::string("images/food/item_") + icon + ".png", 34, 28);
  PutSheet("images/greenSpread.png", 30, 26);
  PutSheet("images/heart.png", 22, 20);
  auto book = TGuestBook::Create(0);
  book->Setup(2);
  EXPECT_EQ(std::string(book->GetTitle()->GetText().c_str()), "Welcome!");
  EXPECT_EQ(Corners(book->GetTitle()->GetTextBounds()), (std::vector<int>{30, 25, 200, 67}));
  EXPECT_EQ(book->GetIcon(3)->GetPosition().x, 150);
  EXPECT_EQ(book->GetMarker(1)->GetPosition().x, 70);
  EXPECT_EQ(book->GetMarker(1)->GetPosition().y, 67);
  EXPECT_FALSE(book->GetHeart()->IsVisible());
  EXPECT_EQ(book->GetHeart()->GetPosition().y, 97);

  const TServedCake guest;
  book->ShowGuest(&guest);
  EXPECT_EQ(book->GetGuest(), &guest);
  std::vector<bool> icons, markers;
  for (int i = 0; i < 4; ++i) {
    icons.push_back(book->GetIcon(i)->IsVisible());
    markers.push_back(book->GetMarker(i)->IsVisible());
  }
  EXPECT_EQ(icons, (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(markers, (std::vector<bool>{false, false, true, false})) << "a served cake shows";

  book->ShowGuest(nullptr);
  EXPECT_EQ(book->GetGuest(), nullptr);
  EXPECT_EQ(std::string(book->GetTitle()->GetText().c_str()), "");
  EXPECT_FALSE(book->GetIcon(0)->IsVisible());
  EXPECT_TRUE(book->GetMarker(2)->IsVisible()) << "markers stay as they were";
}

class MovingItemTest : public PropsTest {
 protected:
  void SetUp() override {
    PropsTest::SetUp();
    PutSheet("images/star.png", 10, 10);
  }
  std::shared_ptr<TMovingParticle> Item(int targetX, int targetY, float speed) {
    auto item = TMovingParticle::Create(0);
    item->Setup("assets/images/star", targetX, targetY, speed);
    item->PlaceAt(0, 0);
    return item;
  }
  static std::vector<std::pair<int, int>> Path(TMovingParticle& item, int ms, int steps) {
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < steps; ++i) {
      item.UpdateMove(ms);
      points.emplace_back(item.GetPosition().x, item.GetPosition().y);
    }
    return points;
  }
};

TEST_F(MovingItemTest, StepsArePerAxisTruncatedAndAtLeastOnePixel) {
  auto slow = Item(5, 2, 0.5f);  // 1.5 px a step: 1
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(Path(*slow, 3, 5), (P{{1, 1}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}));
  EXPECT_TRUE(slow->HasArrived());

  auto crawling = Item(3, 0, 0.01f);  // 0.2 px a step would never arrive
  EXPECT_EQ(Path(*crawling, 20, 4), (P{{1, 0}, {2, 0}, {3, 0}, {3, 0}}));

  auto fast = Item(-7, 40, 10.0f);
  EXPECT_TRUE(fast->UpdateMove(3));
  EXPECT_EQ(fast->GetPosition().x, -7) << "clamped at the target";
  EXPECT_EQ(fast->GetPosition().y, 30);
  EXPECT_FALSE(fast->UpdateMove(3));

  auto still = Item(50, 50, 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(still->UpdateMove(1000));
  EXPECT_EQ(still->GetPosition().x, 0) << "speed 0 does not move";

  auto there = Item(0, 0, 1);
  EXPECT_FALSE(there->UpdateMove(16)) << "already at the target";
}

TEST_F(MovingItemTest, ABounceGoesOnForItsTimeThenEndsWhereverTheItemIs) {
  auto item = Item(10, 0, 1.0f);
  item->SetBounce(0, 0, 1000);
  int answeredTrue = 0;
  for (int i = 0; i < 1000 && item->UpdateMove(4); ++i) ++answeredTrue;
  EXPECT_EQ(answeredTrue, 250) << "4 ms steps for 1000 ms";
  EXPECT_TRUE(item->HasArrived());
  // 4, 8, 10 (turn), 6, 2, 0 (turn), 4 ...: the 251st step ends at 2.
  EXPECT_EQ(item->GetPosition().x, 2);
}

TEST_F(MovingItemTest, IconsAndTextRideOnTheItem) {
  auto item = Item(0, -50, 2.0f);
  item->SetIcon("assets/images/star", 4, 5);
  item->SetSecondIcon("assets/images/star", 6, 7);
  EXPECT_EQ(item->GetIcon()->GetParent(), item.get());
  EXPECT_EQ(item->GetSecondIcon()->GetPosition().y, 7);
  const float white[4] = {1, 1, 1, 1};
  item->SetText("+100", 0, -50, 2.0f, 20, 80, white);
  EXPECT_EQ(item->GetTextChild()->GetAnchor(), kAnchorCentre);
  EXPECT_EQ(item->GetTextChild()->GetTextBounds().bottom, 25) << "one line: size + 5";
  item->SetText("+1,000", 0, -50, 2.0f, 20, 80, white);
  EXPECT_EQ(item->GetTextChild()->GetTextBounds().bottom, 45) << "six characters: two lines";
  item->PlaceAt(0, 0);
  EXPECT_TRUE(item->UpdateMove(5));
  EXPECT_EQ(item->GetPosition().y, -10) << "moved from the text's corner";
}

TEST_F(PropsTest, RequestItemsSitOnTheirTrayAndKeepTheirMarkAcrossCodes) {
  PutSheet("images/food/dish.png", 34, 28);
  PutSheet("images/food/item_tray.png", 44, 24);
  auto item = TRequestItem::Create(0);
  item->SetImage("assets/images/food/dish", true);
  EXPECT_EQ(item->GetTray()->GetParent(), item.get());
  EXPECT_EQ(item->GetTray()->GetPosition().x, 10);
  EXPECT_EQ(item->GetTray()->GetPosition().y, 10);
  EXPECT_EQ(item->GetPosition().y, 20);
  EXPECT_FLOAT_EQ(item->GetCheckMark()->GetDrawSpec().GetPosition().x, 17);
  EXPECT_FLOAT_EQ(item->GetCheckMark()->GetDrawSpec().GetPosition().y, 14);
  item->SetMarked(true);
  item->SetObjectType(1304);
  item->SetItemKind(3);
  EXPECT_EQ(item->GetObjectType(), 1304);
  EXPECT_TRUE(item->GetCheckMark()->IsVisible()) << "a request item keeps its mark";
  item->SetMarked(false);
  EXPECT_FALSE(item->GetCheckMark()->IsVisible());
  EXPECT_TRUE(item->IsKindOf(TFestraObject::GetClassId()));

  auto bare = TRequestItem::Create(0);
  bare->SetImage("assets/images/food/dish", false);
  EXPECT_FALSE(bare->GetTray()->GetParent());
  EXPECT_FALSE(bare->GetTray()->GetTexture());
}

TEST_F(PropsTest, TheDishBinIsAnObjectWithOnePicture) {
  PutSheet("images/bin.png", 60, 60);
  auto bin = TDishBin::Create(0);
  bin->SetImage("assets/images/bin");
  bin->SetObjectType(kObjectDishBin);
  EXPECT_EQ(bin->GetWidth(), 60);
  EXPECT_FALSE(bin->OnClick({10, 10}));
  EXPECT_TRUE(bin->IsKindOf(TFestraObject::GetClassId()));
  EXPECT_TRUE(bin->IsKindOf(TSprite::GetClassId()));
  EXPECT_FALSE(bin->IsKindOf(TFestraTable::GetClassId()));
}

}  // namespace
