// The cake table: tipping over once with its problem event, and being put right.
#include "game/room/TCakeTable.h"

#include "game/room/RoomCodes.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/core/TRandom.h"

namespace {

constexpr float kCakeScale = 1.6666666f;

}  // namespace

TCakeTable::TCakeTable(int layer)
    : TFestraStateAnim(layer), mCake(TFestraStateAnim::Create(layer + 1)) {
  AddChild(mCake);
  AddState("assets/images/cake_table");
  AddState("assets/images/Problems/table_tipped");
  PlayState(kUpright, 1);
}

TCakeTable::~TCakeTable() = default;

void TCakeTable::SetTipOver(int delayMs, int chancePercent, TRoomLevel* level) {
  mTipDelay = delayMs;
  mTipChance = chancePercent;
  mLevel = level;
}

void TCakeTable::SetCakeImages(const TString& upright, const TString& tipped) {
  mCake->AddState(upright);
  mCake->AddState(tipped);
  mCake->PlayState(kUpright, 1);
  mCake->SetScale(kCakeScale);
  mCake->SetPosition(20, 45, kStoredAnchor);
}

bool TCakeTable::CheckTipOver(int elapsedMs) {
  mElapsed += elapsedMs;
  if (mElapsed <= mTipDelay || mTipChance == 0) return false;
  mElapsed = 0;
  const int draw = TvRand() % 101;
  if (mTipChance <= draw) return false;
  mTipChance = 0;
  mCake->PlayState(kTipped, 1);
  PlayState(kTipped, 1);
  if (TRoomLevel* level = mLevel.Get())
    level->AddEvent(kEventCakeTipped, 475, GetHeight() + 115, 455, 30, 465, 80);
  return true;
}

void TCakeTable::OnProblemFixed() {
  mCake->PlayState(kUpright, 1);
  PlayState(kUpright, 1);
  if (TRoomLevel* level = mLevel.Get()) {
    level->RemoveEvent(kEventCakeTipped);
    level->AddMetricsCount("VelkaEventsCompleted", 1);
  }
}
