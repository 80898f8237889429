// The serving table: slots by upgrade level, placing and refilling items, clicks and marks.
#include "game/room/TItemTable.h"

#include <algorithm>

#include "game/room/RoomArt.h"
#include "game/room/TRequestItem.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/core/DebugLog.h"

namespace {

constexpr int kMaxUpgrade = 2;

// The slots' base points by table size, in slot order.
constexpr TPoint kSixSlots[] = {{40, 115},  {80, 129},  {125, 138},
                                {170, 138}, {215, 138}, {260, 138}};
constexpr TPoint kSevenSlots[] = {{40, 85},   {40, 115},  {80, 129}, {125, 138},
                                  {170, 138}, {215, 138}, {260, 138}};
constexpr TPoint kEightSlots[] = {{40, 73},   {40, 94},   {40, 115},  {80, 129},
                                  {125, 138}, {170, 138}, {215, 138}, {260, 138}};

// Slots per kind (appetizers, dinners, cakes) for 6, 7 and 8 slots.
constexpr std::array<int, 3> kKindCounts[] = {{2, 2, 2}, {2, 3, 2}, {3, 3, 2}};

}  // namespace

TItemTable::TItemTable(int layer) : TFestraObject(layer) {}

TItemTable::~TItemTable() {
  RemoveAllItems();
}

void TItemTable::SetUpgradeLevel(int upgrade) {
  if (upgrade < 0 || upgrade > kMaxUpgrade) {
    DebugLog("TItemTable::SetUpgradeLevel: upgrade %d outside 0..%d", upgrade, kMaxUpgrade);
    upgrade = std::clamp(upgrade, 0, kMaxUpgrade);
  }
  SetTexture(GetRoomTexture(upgrade <= 0 ? kImage : kExtendedImage));
  mSlotCount = 6 + upgrade;
  mKindCounts = kKindCounts[upgrade];
  LayOut(upgrade);
}

void TItemTable::LayOut(int upgrade) {
  const TPoint* base = upgrade == 0 ? kSixSlots : upgrade == 1 ? kSevenSlots : kEightSlots;
  for (int i = 0; i < mSlotCount; ++i) {
    mSlotRect[i] = TRect{base[i].x - 35, base[i].y - 40, base[i].x + 15, base[i].y + 13};
    mSlotPos[i] = TPoint{base[i].x - 15, base[i].y - 10};
  }
}

void TItemTable::ChangeUpgradeLevel(int upgrade) {
  SetUpgradeLevel(upgrade);
  for (int slot = kMaxSlots - 1; slot >= 0; --slot) {
    if (!mSlotItem[slot]) continue;
    const int type = mSlotItem[slot]->GetObjectType();
    if (slot < mSlotCount && type == GetSlotKind(slot)) {
      PlaceInSlot(slot);
      continue;
    }
    const int open = FindOpenSlot(type);
    if (open >= 0) {
      mSlotItem[open] = std::move(mSlotItem[slot]);
      PlaceInSlot(open);
    } else if (slot < mSlotCount) {
      PlaceInSlot(slot);
    } else {
      // A slot the smaller table no longer has: the item waits for one of its kind.
      RemoveChild(mSlotItem[slot].get());
      mWaiting.push_back(std::move(mSlotItem[slot]));
    }
  }
  std::vector<int> freeKinds;
  for (int slot = 0; slot < mSlotCount; ++slot) {
    if (!mSlotItem[slot]) freeKinds.push_back(GetSlotKind(slot));
  }
  for (const int kind : freeKinds) CreateItems(1, kind);
}

void TItemTable::SetFoodImage(int index, const TString& name) {
  if (index < 0 || index >= static_cast<int>(mImages.size())) {
    DebugLog("TItemTable::SetFoodImage: image %d of %d", index, static_cast<int>(mImages.size()));
    return;
  }
  mImages[index] = name;
}

int TItemTable::GetSlotKind(int slot) const {
  if (slot < 0 || slot >= mSlotCount) return 0;
  if (slot < mKindCounts[0]) return 1;
  if (slot < mKindCounts[0] + mKindCounts[1]) return 2;
  return 3;
}

TRect TItemTable::GetSlotRect(int slot) const {
  return IsSlot(slot) ? mSlotRect[slot] : TRect{};
}

TPoint TItemTable::GetSlotPos(int slot) const {
  return IsSlot(slot) ? mSlotPos[slot] : TPoint{};
}

std::shared_ptr<TRequestItem> TItemTable::GetSlotItem(int slot) const {
  return IsSlot(slot) ? mSlotItem[slot] : nullptr;
}

int TItemTable::FindOpenSlot(int kind) const {
  for (int slot = 0; slot < mSlotCount; ++slot) {
    if (!mSlotItem[slot] && GetSlotKind(slot) == kind) return slot;
  }
  DebugLog("Couldn't find an open space for this type of food.");
  return -1;
}

void TItemTable::PlaceInSlot(int slot) {
  mSlotItem[slot]->PlaceAt(mSlotPos[slot].x, mSlotPos[slot].y, kAnchorBottomCentre);
}

void TItemTable::PutInSlot(int slot, const std::shared_ptr<TRequestItem>& item) {
  mSlotItem[slot] = item;
  AddChild(item);
  PlaceInSlot(slot);
}

std::shared_ptr<TRequestItem> TItemTable::CreateItem(int itemKind, int type) {
  auto item = TRequestItem::Create(0);
  const bool knownType = type >= 1 && type <= kKinds;
  item->SetImage(knownType ? mImages[(type - 1) * kImagesPerKind] : TString(), false);
  item->SetObjectType(type);
  item->SetItemKind(itemKind);
  for (int step = 1; step <= mSlotCount; ++step) {
    const int slot = (mLastPlacedSlot + step) % mSlotCount;
    if (mSlotItem[slot] || GetSlotKind(slot) != type) continue;
    PutInSlot(slot, item);
    mLastPlacedSlot = slot;
    return item;
  }
  mWaiting.push_back(item);
  return item;
}

void TItemTable::CreateItems(int count, int type) {
  for (int i = 0; i < count; ++i) CreateItem(0, type);
}

bool TItemTable::OnClick(TPoint point) {
  const TPoint at = GetPosition();
  const TPoint local{point.x - at.x, point.y - at.y};
  TRoomLevel* level = GetOwner();
  int clicked = -1;
  for (int slot = 0; slot < kMaxSlots && clicked < 0; ++slot) {
    const std::shared_ptr<TRequestItem>& item = mSlotItem[slot];
    if (!item || !mSlotRect[slot].Contains(local.x, local.y)) continue;
    if (level && !level->CanServerPickUp(item->GetObjectType())) continue;
    clicked = slot;
  }
  if (clicked < 0 || mSlotItem[clicked]->GetMarkCount() != 0) return false;
  mLastClickedSlot = clicked;
  if (!level) return false;
  level->OnObjectClicked(mSlotItem[clicked].get(), GetObjectType());
  return true;
}

void TItemTable::MarkClickedItem() {
  if (IsSlot(mLastClickedSlot) && mSlotItem[mLastClickedSlot]) {
    mMarked.push_back(mSlotItem[mLastClickedSlot]);
    mSlotItem[mLastClickedSlot]->SetMarked(true);
  }
  mLastClickedSlot = -1;
}

int TItemTable::TakeOffTable(const std::shared_ptr<TRequestItem>& item) {
  auto waiting = std::find(mWaiting.begin(), mWaiting.end(), item);
  if (waiting != mWaiting.end()) mWaiting.erase(waiting);
  if (!item || item->GetParent() != this) return -1;
  RemoveChild(item.get());
  item->SetMarked(false);
  for (int slot = 0; slot < kMaxSlots; ++slot) {
    if (mSlotItem[slot] != item) continue;
    mSlotItem[slot].reset();
    return GetSlotKind(slot);
  }
  return -1;
}

void TItemTable::Refill() {
  for (int slot = 0; slot < mSlotCount && !mWaiting.empty(); ++slot) {
    if (mSlotItem[slot] || GetSlotKind(slot) != mWaiting.front()->GetObjectType()) continue;
    PutInSlot(slot, mWaiting.front());
    mWaiting.pop_front();
  }
}

std::shared_ptr<TRequestItem> TItemTable::TakeNextMarkedItem(int& slotKind) {
  slotKind = -1;
  if (mMarked.empty()) {
    DebugLog("TItemTable::TakeNextMarkedItem: no item is marked");
    return nullptr;
  }
  std::shared_ptr<TRequestItem> item = std::move(mMarked.back());
  mMarked.pop_back();
  slotKind = TakeOffTable(item);
  Refill();
  return item;
}

std::shared_ptr<TRequestItem> TItemTable::TakeItem(const std::shared_ptr<TRequestItem>& item,
                                                   int& slotKind) {
  mMarked.erase(std::remove(mMarked.begin(), mMarked.end(), item), mMarked.end());
  slotKind = TakeOffTable(item);
  Refill();
  return item;
}

void TItemTable::UnmarkFirstItem() {
  if (mMarked.empty()) return;
  mMarked.back()->SetMarked(false);
  mMarked.pop_back();
}

std::shared_ptr<TRequestItem> TItemTable::FindItemByKind(int itemKind) const {
  for (const auto& item : mWaiting) {
    if (item->GetItemKind() == itemKind) return item;
  }
  for (const auto& item : mSlotItem) {
    if (item && item->GetItemKind() == itemKind) return item;
  }
  return nullptr;
}

void TItemTable::RemoveAllItems() {
  for (auto& item : mSlotItem) {
    if (item && item->GetParent() == this) RemoveChild(item.get());
    item.reset();
  }
  for (const auto& item : mWaiting) {
    if (item->GetParent() == this) RemoveChild(item.get());
  }
  mWaiting.clear();
}
