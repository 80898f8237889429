// Guest tables: laying out the chairs, seat bookkeeping and neighbour counts.
#include "game/room/TFestraTable.h"

#include <algorithm>

#include "game/room/RoomArt.h"
#include "game/room/TFestraChair.h"
#include "game/room/TFestraStateAnim.h"
#include "tvlib/core/DebugLog.h"

TFestraTable::TFestraTable(int layer) : TFestraObject(layer), mMark(TFestraSprite::Create(0)) {}

TFestraTable::~TFestraTable() = default;

void TFestraTable::Setup(const TString& tableImage, int chairs, float x, float y,
                         const TString& chairImage) {
  mServiceCounters = {0, 0};
  SetTexture(GetRoomTexture(tableImage));
  SetPosition(x, y, kStoredAnchor);
  if (chairs < 1 || chairs > kMaxChairs) {
    DebugLog("TFestraTable::Setup: %d chairs for table %s; a table has 1 to %d", chairs,
             tableImage.c_str(), kMaxChairs);
    chairs = std::clamp(chairs, 1, kMaxChairs);
  }
  mChairCount = chairs;
  mChairPitch = (GetWidth() - kChairsLeft) / chairs - 1;
  mOccupied.fill(0);
  mSeatedCount = 0;
  RemoveChairs();
  CreateChairs(chairImage);
  GetCheckMark()->SetPosition(static_cast<float>(GetWidth() / 2),
                              static_cast<float>(GetHeight() / 2 - 10), kAnchorCentre);
}

void TFestraTable::RemoveChairs() {
  for (const auto& chair : mChairs) RemoveChild(chair.get());
  mChairs.clear();
}

void TFestraTable::CreateChairs(const TString& chairImage) {
  int x = kChairsLeft;
  for (int i = 0; i < mChairCount; ++i) {
    auto chair = TFestraChair::Create(-1);
    chair->Setup(this, i, chairImage);
    AddChild(chair);
    chair->SetAnchor(kAnchorBottomLeft);
    chair->SetPosition(static_cast<float>(x), 4.0f, kStoredAnchor);
    mChairs.push_back(chair);
    x += mChairPitch;
  }
}

void TFestraTable::SetMarkImage(const TString& image) {
  mMarkImage = image;
  mMark->SetTexture(GetRoomTexture(image));
  AddChild(mMark);
  mMark->SetPosition(static_cast<float>(GetWidth() / 2), 58.0f, kAnchorCentre);
}

void TFestraTable::SetChairImage(const TString& image) {
  for (const auto& chair : mChairs) chair->SetImage(image);
}

std::shared_ptr<TFestraChair> TFestraTable::GetChair(int seat) const {
  if (seat < 0 || seat >= static_cast<int>(mChairs.size())) return nullptr;
  return mChairs[seat];
}

int TFestraTable::CountNeighbours(int seat) const {
  return seat == 0 || seat == mChairCount - 1 ? 1 : 2;
}

bool TFestraTable::IsOccupied(int seat) const {
  return seat >= 0 && seat < mChairCount && mOccupied[seat] != 0;
}

int TFestraTable::CountFreeNeighbours(int seat) const {
  int free = 0;
  for (int s : {seat - 1, seat + 1}) {
    if (s >= 0 && s < mChairCount && !mOccupied[s]) ++free;
  }
  return free;
}

bool TFestraTable::SetOccupied(int seat, bool occupied) {
  if (seat < 0 || seat >= mChairCount) {
    DebugLog("TFestraTable::SetOccupied: seat %d of %d", seat, mChairCount);
    return false;
  }
  const uint8_t flag = occupied ? 1 : 0;
  if (mOccupied[seat] != flag) mSeatedCount += occupied ? 1 : -1;
  mOccupied[seat] = flag;
  return true;
}
