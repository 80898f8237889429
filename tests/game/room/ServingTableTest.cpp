// The serving table through a recording level: slots and kinds per upgrade level, placing
// round the slots and from the waiting list, clicks, marks taken last-in first-out, upgrades
// during play, and the guards of a table without slots or marks.
#include <gtest/gtest.h>

#include "game/room/TItemTable.h"
#include "game/room/TRequestItem.h"
#include "tests/game/room/RoomFixture.h"

namespace {

constexpr int kItemWidth = 34;
constexpr int kItemHeight = 28;

class ServingTableTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    PutSheet("images/table/servingtable_large.png", 300, 160);
    PutSheet("images/table/servingtable_extend.png", 300, 160, 0xFFEEDDFF);
    PutSheet("images/food/app.png", kItemWidth, kItemHeight);
    PutSheet("images/food/dinner.png", kItemWidth, kItemHeight);
    PutSheet("images/food/cake.png", kItemWidth, kItemHeight);
  }
  std::shared_ptr<TItemTable> Table(int upgrade) {
    auto table = TItemTable::Create(10);
    table->SetFoodImage(0, "assets/images/food/app");
    table->SetFoodImage(3, "assets/images/food/dinner");
    table->SetFoodImage(6, "assets/images/food/cake");
    table->SetObjectType(kObjectChefStation);
    table->SetOwner(&level);
    table->PlaceAt(500, 100, kStoredAnchor);
    table->SetUpgradeLevel(upgrade);
    return table;
  }
  // The slot of each slot's item by food kind, 0 for a free slot.
  static std::vector<int> Contents(const TItemTable& table) {
    std::vector<int> kinds;
    for (int i = 0; i < table.GetSlotCount(); ++i) {
      auto item = table.GetSlotItem(i);
      kinds.push_back(item ? item->GetObjectType() : 0);
    }
    return kinds;
  }
  // A click in the middle of the slot's rectangle, in the room.
  static TPoint SlotPoint(const TItemTable& table, int slot) {
    const TRect r = table.GetSlotRect(slot);
    return TPoint{500 + (r.left + r.right) / 2, 100 + (r.top + r.bottom) / 2};
  }
};

TEST_F(ServingTableTest, SlotsKindsAndPlacesFollowTheUpgradeLevel) {
  struct Case {
    int upgrade, slots;
    std::vector<int> kinds;
    TPoint firstBase;
    int texture;  // 0 the table, 1 its extension
  };
  const Case cases[] = {
      {0, 6, {1, 1, 2, 2, 3, 3}, {40, 115}, 0},      {1, 7, {1, 1, 2, 2, 2, 3, 3}, {40, 85}, 1},
      {2, 8, {1, 1, 1, 2, 2, 2, 3, 3}, {40, 73}, 1}, {-1, 6, {1, 1, 2, 2, 3, 3}, {40, 115}, 0},
      {5, 8, {1, 1, 1, 2, 2, 2, 3, 3}, {40, 73}, 1},
  };
  for (const Case& c : cases) {
    auto table = Table(c.upgrade);
    ASSERT_EQ(table->GetSlotCount(), c.slots) << c.upgrade;
    std::vector<int> kinds;
    for (int i = 0; i < c.slots; ++i) kinds.push_back(table->GetSlotKind(i));
    EXPECT_EQ(kinds, c.kinds) << c.upgrade;
    EXPECT_EQ(table->GetSlotKind(c.slots), 0);
    const TRect first = table->GetSlotRect(0);
    EXPECT_EQ(std::vector<int>({first.left, first.top, first.right, first.bottom}),
              std::vector<int>({c.firstBase.x - 35, c.firstBase.y - 40, c.firstBase.x + 15,
                                c.firstBase.y + 13}));
    const TRect last = table->GetSlotRect(c.slots - 1);
    EXPECT_EQ(std::vector<int>({last.left, last.top, last.right, last.bottom}),
              std::vector<int>({225, 98, 275, 151}));
    EXPECT_EQ(table->GetSlotPos(c.slots - 1).x, 245);
    EXPECT_EQ(table->GetSlotPos(c.slots - 1).y, 128);
    EXPECT_EQ(table->GetTexture(),
              TTexture::Get(c.texture == 0 ? TItemTable::kImage : TItemTable::kExtendedImage, 0));

    // Full: every slot holds an item of its kind, standing on the slot's point by its
    // bottom centre; what is left over waits.
    for (int kind = 1; kind <= 3; ++kind) table->CreateItems(4, kind);
    EXPECT_EQ(Contents(*table), c.kinds);
    EXPECT_EQ(table->GetWaiting().size(), size_t(12 - c.slots));
    for (int i = 0; i < c.slots; ++i) {
      auto item = table->GetSlotItem(i);
      EXPECT_EQ(item->GetParent(), table.get());
      EXPECT_EQ(item->GetPosition().x, table->GetSlotPos(i).x - kItemWidth / 2) << i;
      EXPECT_EQ(item->GetPosition().y, table->GetSlotPos(i).y - (kItemHeight - 1)) << i;
      EXPECT_EQ(item->GetItemKind(), 0);
    }
    for (const auto& waiting : table->GetWaiting()) EXPECT_EQ(waiting->GetParent(), nullptr);
  }
  EXPECT_TRUE(Logged("TItemTable::SetUpgradeLevel: upgrade 5 outside 0..2"));
}

TEST_F(ServingTableTest, TheOldestWaitingItemAloneIsPlacedAndBlocksTheOthers) {
  auto table = Table(0);
  table->CreateItems(3, 1);
  ASSERT_EQ(Contents(*table), (std::vector<int>{1, 1, 0, 0, 0, 0}));
  ASSERT_EQ(table->GetWaiting().size(), 1u);
  auto waitingAppetizer = table->GetWaiting().front();
  int kind = 0;
  table->TakeItem(table->GetSlotItem(0), kind);
  EXPECT_EQ(kind, 1);
  EXPECT_EQ(table->GetSlotItem(0), waitingAppetizer) << "the freed slot is filled at once";
  EXPECT_TRUE(table->GetWaiting().empty());

  // A cake waits before an appetizer; appetizer slot 1 and cake slot 4 are freed.
  table->CreateItems(2, 3);
  table->CreateItem(0, 3);
  table->CreateItem(0, 1);
  ASSERT_EQ(table->GetWaiting().size(), 2u);
  auto waitingCake = table->GetWaiting().front();
  table->TakeItem(table->GetSlotItem(1), kind);
  EXPECT_EQ(table->GetSlotItem(1), nullptr) << "the cake first in line blocks the appetizer";
  table->TakeItem(table->GetSlotItem(4), kind);
  EXPECT_EQ(kind, 3);
  EXPECT_EQ(table->GetSlotItem(4), waitingCake);
  EXPECT_EQ(table->GetSlotItem(1), nullptr) << "the pass had gone by slot 1";
  ASSERT_EQ(table->GetWaiting().size(), 1u);
  table->TakeItem(table->GetSlotItem(5), kind);
  EXPECT_EQ(table->GetSlotItem(1)->GetObjectType(), 1);
  EXPECT_TRUE(table->GetWaiting().empty());
}

TEST_F(ServingTableTest, NewItemsGoRoundTheSlotsAfterTheLastOneFilled) {
  auto table = Table(1);
  std::vector<std::shared_ptr<TRequestItem>> dinners;
  for (int i = 0; i < 3; ++i) dinners.push_back(table->CreateItem(0, 2));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(table->GetSlotItem(2 + i), dinners[i]);
  int kind = 0;
  table->TakeItem(dinners[1], kind);
  auto next = table->CreateItem(0, 2);
  EXPECT_EQ(table->GetSlotItem(3), next);
  // A type no slot has waits, with no picture.
  auto odd = table->CreateItem(0, 7);
  EXPECT_EQ(table->GetWaiting().back(), odd);
  EXPECT_EQ(odd->GetTexture(), nullptr);
}

TEST_F(ServingTableTest, ClicksForwardUnmarkedItemsTheTutorialAllows) {
  auto table = Table(0);
  for (int kind = 1; kind <= 3; ++kind) table->CreateItems(2, kind);
  EXPECT_FALSE(table->OnClick(TPoint{499, 99})) << "outside every slot";

  EXPECT_TRUE(table->OnClick(SlotPoint(*table, 2)));
  ASSERT_EQ(level.clicks.size(), 1u);
  EXPECT_EQ(level.clicks[0].first, table->GetSlotItem(2).get());
  EXPECT_EQ(level.clicks[0].second, kObjectChefStation);
  EXPECT_EQ(table->GetLastClickedSlot(), 2);
  table->MarkClickedItem();
  EXPECT_EQ(table->GetLastClickedSlot(), -1);
  EXPECT_EQ(table->GetSlotItem(2)->GetMarkCount(), 1);
  EXPECT_FALSE(table->OnClick(SlotPoint(*table, 2))) << "already marked";

  level.pickUpRestriction = 3;
  EXPECT_FALSE(table->OnClick(SlotPoint(*table, 0))) << "the tutorial allows cakes only";
  EXPECT_TRUE(table->OnClick(SlotPoint(*table, 4)));
  EXPECT_EQ(level.clicks.size(), 2u);

  table->SetOwner(nullptr);
  EXPECT_FALSE(table->OnClick(SlotPoint(*table, 0)));
  EXPECT_EQ(table->GetLastClickedSlot(), 0) << "kept for the server even without a level";
}

TEST_F(ServingTableTest, MarksAreTakenLastInFirstOutAndGuardedWhenNoneAreLeft) {
  auto table = Table(0);
  for (int kind = 1; kind <= 3; ++kind) table->CreateItems(2, kind);
  for (int slot : {0, 3, 5}) {
    ASSERT_TRUE(table->OnClick(SlotPoint(*table, slot)));
    table->MarkClickedItem();
  }
  auto appetizer = table->GetSlotItem(0);
  auto dinner = table->GetSlotItem(3);
  auto cake = table->GetSlotItem(5);
  table->UnmarkFirstItem();
  EXPECT_EQ(cake->GetMarkCount(), 0);
  EXPECT_EQ(table->GetSlotItem(5), cake) << "an unmarked item stays";

  int kind = 0;
  EXPECT_EQ(table->TakeNextMarkedItem(kind), dinner);
  EXPECT_EQ(kind, 2);
  EXPECT_EQ(dinner->GetParent(), nullptr);
  EXPECT_EQ(dinner->GetMarkCount(), 0);
  EXPECT_EQ(table->GetSlotItem(3), nullptr);
  EXPECT_EQ(table->TakeNextMarkedItem(kind), appetizer);
  EXPECT_EQ(kind, 1);

  kind = 9;
  EXPECT_EQ(table->TakeNextMarkedItem(kind), nullptr);
  EXPECT_EQ(kind, -1);
  EXPECT_TRUE(Logged("TItemTable::TakeNextMarkedItem: no item is marked"));
  table->UnmarkFirstItem();  // nothing to unmark
  EXPECT_EQ(table->GetMarked().size(), 0u);
}

TEST_F(ServingTableTest, TakingAnItemOffNoSlotGivesNoKindAndLeavesTheWaitingList) {
  auto table = Table(0);
  table->CreateItems(3, 1);
  auto waiting = table->GetWaiting().front();
  waiting->SetItemKind(4);
  EXPECT_EQ(table->FindItemByKind(4), waiting) << "waiting items are found first";
  EXPECT_EQ(table->FindItemByKind(0), table->GetSlotItem(0));
  EXPECT_EQ(table->FindItemByKind(5), nullptr);
  int kind = 9;
  EXPECT_EQ(table->TakeItem(waiting, kind), waiting);
  EXPECT_EQ(kind, -1);
  EXPECT_TRUE(table->GetWaiting().empty()) << "a server's item never reappears on the table";

  auto stranger = TRequestItem::Create(0);
  kind = 9;
  EXPECT_EQ(table->TakeItem(stranger, kind), stranger);
  EXPECT_EQ(kind, -1);
}

TEST_F(ServingTableTest, ATableWithoutSlotsKeepsEveryItemWaiting) {
  auto table = TItemTable::Create(0);
  auto item = table->CreateItem(0, 1);
  EXPECT_EQ(table->GetWaiting().size(), 1u);
  EXPECT_EQ(item->GetParent(), nullptr);
  EXPECT_EQ(table->FindOpenSlot(1), -1);
  EXPECT_TRUE(Logged("Couldn't find an open space for this type of food."));
  table->RemoveAllItems();
  EXPECT_TRUE(table->GetWaiting().empty());
}

TEST_F(ServingTableTest, UpgradesKeepItemsOnTheirSlotPointsAndFillTheFreeSlots) {
  auto table = Table(0);
  for (int kind = 1; kind <= 3; ++kind) table->CreateItems(2, kind);
  auto cakeOfSlot4 = table->GetSlotItem(4);
  auto cakeOfSlot5 = table->GetSlotItem(5);
  ASSERT_TRUE(table->OnClick(SlotPoint(*table, 1)));
  table->MarkClickedItem();
  auto marked = table->GetSlotItem(1);

  table->ChangeUpgradeLevel(1);
  EXPECT_EQ(Contents(*table), (std::vector<int>{1, 1, 2, 2, 2, 3, 3}));
  EXPECT_EQ(table->GetSlotItem(5), cakeOfSlot5);
  EXPECT_EQ(table->GetSlotItem(6), cakeOfSlot4) << "moved to a cake slot";
  EXPECT_EQ(table->GetSlotItem(1), marked);
  EXPECT_EQ(marked->GetMarkCount(), 1);
  for (int i = 0; i < table->GetSlotCount(); ++i) {
    EXPECT_EQ(table->GetSlotItem(i)->GetPosition().x, table->GetSlotPos(i).x - kItemWidth / 2);
    EXPECT_EQ(table->GetSlotItem(i)->GetPosition().y, table->GetSlotPos(i).y - (kItemHeight - 1));
  }
  EXPECT_EQ(table->GetChildren().size(), 8u) << "the check mark and seven items";

  table->ChangeUpgradeLevel(2);
  EXPECT_EQ(Contents(*table), (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3}));
  EXPECT_TRUE(table->GetWaiting().empty());

  // Back to six slots: items of another kind stay while no slot of theirs is free, and
  // what stood beyond the sixth slot waits for one.
  table->ChangeUpgradeLevel(0);
  EXPECT_EQ(Contents(*table), (std::vector<int>{1, 1, 1, 2, 2, 2}));
  EXPECT_EQ(table->GetWaiting().size(), 2u);
  for (const auto& waiting : table->GetWaiting()) EXPECT_EQ(waiting->GetParent(), nullptr);
}

}  // namespace
