// Guests: set-up, seats, queries, clicks, the level's state changes and saved state.
#include "game/room/TFestraGuest.h"

#include <algorithm>

#include "game/room/RoomCodes.h"
#include "game/room/TFestraTable.h"
#include "game/room/TMovingParticle.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TRandom.h"

namespace {

constexpr int kIconLayer = 1;
constexpr int kCheckMarkLayer = 2;
constexpr int kHighlightLayer = -1;
constexpr int kCheckMarkX = 0;
constexpr int kCheckMarkY = 9;
constexpr int kBaseStates = 7;

}  // namespace

TFestraGuest::TFestraGuest(int layer)
    : TFestraStateAnim(layer),
      mRequestIcon(TFestraSprite::Create(kIconLayer)),
      mStandingHighlight(TFestraSprite::Create(kHighlightLayer)),
      mSeatedHighlight(TFestraSprite::Create(kHighlightLayer)),
      mCheckMark(TFestraStateAnim::Create(kCheckMarkLayer)) {
  mRequestIcon->SetVisible(false);
  AddChild(mRequestIcon);
  for (const auto& highlight : {mStandingHighlight, mSeatedHighlight}) {
    highlight->SetVisible(false);
    AddChild(highlight);
  }
  mCheckMark->AddState(kCheckMark);
  mCheckMark->SetOwnScript(true);
  mCheckMark->SetVisible(false);
  mCheckMark->PlaceAt(kCheckMarkX, kCheckMarkY, kStoredAnchor);
  AddChild(mCheckMark);
}

// A guest that ends while seated or asking for a tissue or coffee would leave its chair
// taken, its sobbing looping and its problem with the planner.
TFestraGuest::~TFestraGuest() {
  EndSideRequest();
  FreeSeat();
  RemoveBubble();
  mRequestIcon->SetVisible(false);
}

void TFestraGuest::LoadAnimations(const std::vector<TString>& names, int type) {
  const int states = (type == kGuestUncle || type == kGuestAunt) ? kBaseStates + 1 : kBaseStates;
  for (int i = 0; i < states; ++i) {
    AddState(i < static_cast<int>(names.size()) ? names[i] : TString());
  }
  mGuestType = type;
  LoopState(kAnimIdle);
}

void TFestraGuest::SetFoodImages(const std::array<TString, kFoodImages>& images) {
  mFoodImages = images;
}

void TFestraGuest::SetStepTimes(const std::array<int, kSteps>& ms) {
  mStepTimes = ms;
  mStepTimer = ms[0];
}

void TFestraGuest::SetSeat(const std::shared_ptr<TFestraTable>& table, int seat) {
  // The old seat is freed first, so that sitting down again on the same seat keeps it taken.
  FreeSeat();
  if (table) {
    mLastTable = table;
    mLastSeat = seat;
    table->SetOccupied(seat, true);
    RefreshRequestIcon();
  } else {
    mRequestIcon->SetVisible(false);
  }
  mTable = table;
  mSeat = seat;
  mSeatValue = 0;
}

void TFestraGuest::ClearSeat() {
  SetVisible(false);
  mRequestIcon->SetVisible(false);
  EndSideRequest();
  FreeSeat();
  mTable.reset();
  mSeat = -1;
}

void TFestraGuest::FreeSeat() {
  if (const auto table = mTable.lock()) table->SetOccupied(mSeat, false);
}

void TFestraGuest::EndSideRequest() {
  TRoomLevel* level = GetOwner();
  if (mSobHandle >= 0) {
    if (level) level->StopSobbing(mSobHandle);
    mSobHandle = -1;
  }
  if (mPlannerEventId >= 0) {
    if (level) level->RemoveMatchingEvent(mPlannerEventCode, mPlannerEventId);
    mPlannerEventId = -1;
  }
}

int TFestraGuest::MoodThird() const {
  return std::max(1, mMaxPatience / 3);
}

int TFestraGuest::GetMood() const {
  return std::min(2, mPatience / MoodThird());
}

bool TFestraGuest::IsInSpecialAnimState() const {
  const int state = GetState();
  return state >= kAnimEating && state <= kAnimProblem && state != kAnimStanding;
}

bool TFestraGuest::IsSeatedActivity() const {
  return IsInSpecialAnimState() || mDesire == kDesireSit;
}

bool TFestraGuest::WantsDance() const {
  return mDesire == kDesireDance || (mDesire == kDesireResit && mDesireStep == kDanceStep);
}

bool TFestraGuest::IsRequestDesire() const {
  return mDesire >= kDesireGift && mDesire <= kDesireDinner;
}

bool TFestraGuest::IsNextToGuestType(int type) {
  const auto table = mTable.lock();
  TRoomLevel* level = GetOwner();
  if (!table || !level) return false;
  for (const int seat : {mSeat - 1, mSeat + 1}) {
    const auto other = level->FindChair(table.get(), seat);
    if (other && other->GetGuestType() == type) return true;
  }
  return false;
}

bool TFestraGuest::ContainsId(int id) const {
  return std::find(mIds.begin(), mIds.end(), id) != mIds.end();
}

bool TFestraGuest::GetServedFlag(int kind) const {
  return kind >= 0 && kind < kServedKinds && mServed[kind];
}

void TFestraGuest::SetServedFlag(int kind, bool served) {
  if (kind < 0 || kind >= kServedKinds) {
    DebugLog("TFestraGuest::SetServedFlag: kind %d", kind);
    return;
  }
  mServed[kind] = served;
}

TRect TFestraGuest::GetCachedBounds(bool force) {
  if (force || mBoundsState != GetState()) {
    mBoundsCache = GetBounds(0);
    mBoundsState = GetState();
  }
  return mBoundsCache;
}

TPoint TFestraGuest::GetAnchorPoint() {
  const TRect bounds = GetCachedBounds(false);
  return TPoint{bounds.left + mAnchorOffset.x, bounds.top + mAnchorOffset.y};
}

TPoint TFestraGuest::GetEffectPoint() {
  const TRect bounds = GetCachedBounds(false);
  return TPoint{bounds.left - 10, bounds.top - 45};
}

void TFestraGuest::SetMarkCount(int count) {
  mMarkCount = count;
  mCheckMark->ShowMark(count > 0);
}

bool TFestraGuest::OnGuestClicked(TPoint /*point*/, bool allowBusy, bool force) {
  TRoomLevel* level = GetOwner();
  if (!level) {
    DebugLog("TFestraGuest::OnGuestClicked -- Window is NULL.");
    return false;
  }
  if (IsSeatedActivity() || mDesire == kDesireSit || mDesire == kDesireResit ||
      mDesire == kDesireLevelWait || force) {
    level->OnObjectClicked(this, kClickGuest);
    return true;
  }
  if (!allowBusy) return false;
  level->OnObjectClicked(this, kClickGuestBusy);
  return true;
}

void TFestraGuest::SetDesire(int code) {
  if (code == kSpecialLevel17 || code == kSpecialLevel18) {
    SetSpecialState(code);
  } else {
    mDesire = code;
  }
  if (mDesire == kDesireDance) mSpecialState = kSpecialChoose;
}

void TFestraGuest::SetSpecialState(int code) {
  mSpecialState = code;
  if (code == kSpecialLevel17) mDesire = kDesireLevelWait;
  if ((code == kSpecialLevel17 || code == kSpecialLevel18) && mDesireStep > 2) --mDesireStep;
}

void TFestraGuest::AddPatienceBonus() {
  mGraceTimer = 0;
  if (mSpecialState == kSpecialFrozen) return;
  mPatience = std::min(mMaxPatience, mPatience + mPatienceBonus);
  mSpecialState = kSpecialChoose;
}

void TFestraGuest::BoostMood() {
  if (GetState() == kAnimProblem) return;
  mGraceTimer = 0;
  mPatience = std::min(mMaxPatience, mPatience + mMaxPatience / 2);
  mMoodChanged = true;
  const int state = GetState();
  if (state >= kAnimHappy && state <= kAnimUpset && mPatience == mMaxPatience) {
    PlayState(kAnimHappy, TvRand() % 11 + 10);
  }
}

void TFestraGuest::DropPatienceThird() {
  const int third = MoodThird();
  mPatience -= mPatience < 3 * third ? mPatience % third + 1 : third;
  mPatience = std::max(0, mPatience);
  mMoodChanged = true;
}

void TFestraGuest::PlayAngry() {
  mAngry = true;
  PlayState(kAnimUpset, 1);
}

void TFestraGuest::SaveState() {
  mSaved = TSavedState{mDesire, mDesireStep, mStepTimer, GetState()};
}

void TFestraGuest::RestoreState() {
  RemoveBubble();
  mDesire = mSaved.desire;
  mDesireStep = mSaved.step;
  mSpecialState = kSpecialChoose;
  mStepTimer = mSaved.stepTimer;
  LoopState(mSaved.anim);
  if (mSaved.anim == kAnimEating) {
    ShowRequestIcon(mDesire, false);
  } else if (TRoomLevel* level = GetOwner()) {
    level->ShowDesireIcon(mDesire, this);
  }
}

void TFestraGuest::ShowReadyToDance() {
  PlayState(kAnimHappy, 1);
  if (mDanceEffectStarted) return;
  mDanceEffectStarted = true;
  if (TRoomLevel* level = GetOwner()) {
    const TPoint position = GetPosition();
    const TVec2 at{static_cast<float>(position.x), static_cast<float>(position.y)};
    level->StartEffect(kReadyToDanceEffect, &at);
  }
}

void TFestraGuest::RefreshIdleState() {
  if (IsSeatedActivity()) return;
  const int wanted = mPatience > mMaxPatience / 3 ? kAnimIdle : kAnimImpatient;
  if (GetState() != wanted) LoopState(wanted);
}
