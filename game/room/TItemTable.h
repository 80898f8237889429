// The serving table: a clickable room object on which the kitchen's food stands as request
// items, each in one of up to eight fixed slots. Slots are kept for three food kinds by index
// (1 appetizers, 2 dinners, 3 cakes, lowest indices first); food that finds no free slot of
// its kind waits, unseen, until one frees, and only the oldest waiting item is ever placed.
// A click forwards the item to the level, which queues a server; items the server accepted
// are marked and taken last-in first-out. The table's upgrade level (0, 1, 2) gives 6, 7 or 8
// slots and its picture.
//
// Items stand on their slot's point by their bottom centre, also after an upgrade moved the
// slots. Before the first SetUpgradeLevel the table has no slots and every item waits.
// UI thread only.
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <vector>

#include "game/room/TFestraObject.h"
#include "tvlib/core/TRect.h"

class TRequestItem;

class TItemTable : public TFestraObject {
  TV_SPRITE_CLASS(TItemTable, TFestraObject)

 public:
  static constexpr int kMaxSlots = 8;
  static constexpr int kKinds = 3;
  static constexpr int kImagesPerKind = 3;
  static constexpr const char* kImage = "assets/images/table/servingtable_large.png";
  static constexpr const char* kExtendedImage = "assets/images/table/servingtable_extend.png";

  explicit TItemTable(int layer = 0);
  // Takes every item off the table first.
  ~TItemTable() override;

  // The first slot under the point (parent co-ordinates) holding an unmarked item the
  // tutorial lets the servers pick up: the item goes to the owning level with the table's
  // object-type code. False when nothing was forwarded.
  bool OnClick(TPoint point) override;

  // The picture, the slot counts and the slot layout of an upgrade level (kept to 0..2).
  void SetUpgradeLevel(int upgrade);
  // The same during play: items stay in slots of their kind, moving when theirs changed kind,
  // and every slot left free gets a new item of its kind.
  void ChangeUpgradeLevel(int upgrade);
  // The nine item pictures, three per kind in kind order (index 0..8); the first of each
  // kind's three is the picture of a new item.
  void SetFoodImage(int index, const TString& name);

  // The lowest free slot of the kind, or -1 (logged).
  int FindOpenSlot(int kind) const;
  // A new item of the food kind (1..3) with the item kind: into the next free slot of its
  // kind after the last one filled, going round once, else onto the waiting list.
  std::shared_ptr<TRequestItem> CreateItem(int itemKind, int type);
  void CreateItems(int count, int type);
  // Marks the item of the slot last clicked, once the server accepted the click.
  void MarkClickedItem() override;
  // The most recently marked item, taken off the table; null (logged) when none is marked.
  // `slotKind` gets the kind of the slot it left, -1 when it was in none.
  std::shared_ptr<TRequestItem> TakeNextMarkedItem(int& slotKind);
  // Takes the item off the marked list, its slot or the waiting list; returns it.
  std::shared_ptr<TRequestItem> TakeItem(const std::shared_ptr<TRequestItem>& item, int& slotKind);
  // Unmarks the most recently marked item; it stays in its slot.
  void UnmarkFirstItem() override;
  // The first waiting item, then the first slot item, of the item kind; null when none.
  std::shared_ptr<TRequestItem> FindItemByKind(int itemKind) const;
  // Empties the slots and the waiting list; the marked list stays as it is.
  void RemoveAllItems();

  int GetSlotCount() const { return mSlotCount; }
  // 1, 2 or 3 by the slot's index; 0 for a slot outside the table.
  int GetSlotKind(int slot) const;
  TRect GetSlotRect(int slot) const;
  TPoint GetSlotPos(int slot) const;
  std::shared_ptr<TRequestItem> GetSlotItem(int slot) const;
  const std::deque<std::shared_ptr<TRequestItem>>& GetWaiting() const { return mWaiting; }
  const std::vector<std::shared_ptr<TRequestItem>>& GetMarked() const { return mMarked; }
  int GetLastClickedSlot() const { return mLastClickedSlot; }

 private:
  bool IsSlot(int slot) const { return slot >= 0 && slot < kMaxSlots; }
  void LayOut(int upgrade);
  void PutInSlot(int slot, const std::shared_ptr<TRequestItem>& item);
  void PlaceInSlot(int slot);
  // Detaches and unmarks an item of the table; answers its slot's kind, -1 when in none.
  int TakeOffTable(const std::shared_ptr<TRequestItem>& item);
  void Refill();

  int mSlotCount = 0;
  std::array<int, kKinds> mKindCounts = {0, 0, 0};
  std::array<TString, kKinds * kImagesPerKind> mImages;
  std::deque<std::shared_ptr<TRequestItem>> mWaiting;
  std::vector<std::shared_ptr<TRequestItem>> mMarked;
  std::array<TRect, kMaxSlots> mSlotRect{};
  std::array<TPoint, kMaxSlots> mSlotPos{};
  std::array<std::shared_ptr<TRequestItem>, kMaxSlots> mSlotItem;
  int mLastClickedSlot = -1;
  int mLastPlacedSlot = -1;
};
