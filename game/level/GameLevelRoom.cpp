// The level's waiting line and its small room utilities: guests joining and leaving the line,
// the guest at a seat, the chairs' picture and new guests.
#include "game/level/TGameLevel.h"
#include "game/room/GuestCodes.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraTable.h"

void TGameLevel::PlaceInLine(TFestraGuest* guest, TWaitingLine::TSpot spot) {
  const TPoint point = TWaitingLine::SpotPoint(spot.rank, spot.place);
  guest->SetPosition(static_cast<float>(point.x), static_cast<float>(point.y), kStoredAnchor);
  guest->GetLevelState().savedPosition =
      TVec2(static_cast<float>(point.x), static_cast<float>(point.y));
  guest->PlaceBubble(true);
}

void TGameLevel::AddToWaitingLine(const std::shared_ptr<TFestraGuest>& guest) {
  if (!guest || mWaitingLine.Contains(guest.get())) return;
  const TWaitingLine::TSpot spot = mWaitingLine.Add(guest.get());
  if (spot.rank >= 0) PlaceInLine(guest.get(), spot);
}

void TGameLevel::RemoveFromWaitingLine(const TFestraGuest* guest) {
  for (TFestraGuest* moved : mWaitingLine.Remove(guest))
    PlaceInLine(moved, mWaitingLine.Find(moved));
}

void TGameLevel::FillWaitingLine() {
  std::vector<std::shared_ptr<TFestraGuest>> standing;
  for (const auto& guest : mGuests) {
    if (!guest->GetTable() && guest->GetSpecialState() != kSpecialFrozen) standing.push_back(guest);
  }
  for (auto it = standing.rbegin(); it != standing.rend(); ++it) AddToWaitingLine(*it);
}

std::shared_ptr<TFestraGuest> TGameLevel::GuestAtSeat(const TFestraTable* table, int seat) const {
  if (!table || seat < 0 || seat >= table->GetChairCount()) return nullptr;
  for (const auto& guest : mGuests) {
    if (guest->GetTable().get() == table && guest->GetSeat() == seat) return guest;
  }
  return nullptr;
}

void TGameLevel::SetChairImages(const TString& image) {
  for (const auto& table : mTables) table->SetChairImage(image);
}

void TGameLevel::AddGuest(const std::shared_ptr<TFestraGuest>& guest) {
  guest->SetOwner(this);
  mSceneRoot->AddChild(guest);
  mGuests.push_back(guest);
  mDepthObjects.push_back(guest);
}
