// Guests: the play tick. Patience drains, the next desire is chosen when the step timer runs
// out (the next course, or first a side request drawn once per guest), timed requests run
// out, and the seat-wait ends in a seating match or an angry guest.
#include <algorithm>

#include "game/room/RoomCodes.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraTable.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/core/TRandom.h"

namespace {

constexpr int kSideRequestTimer = 1000;
constexpr int kDanceWait = 5000;
// The planner's balloon of a coffee or tissue request, beside the guest.
constexpr int kEventBalloonLeft = 50;
constexpr int kEventBalloonUpEven = 10;
constexpr int kEventBalloonUpOdd = 20;

bool ChanceFires(int percent) {
  return TvRand() % 101 < percent;
}

bool IsTimedRequest(int desire) {
  return desire == kDesireResit || desire == kDesireLevelWait || desire == kDesireDrink ||
         desire == kDesireMusic || desire == kDesireCoffee || desire == kDesireTissue;
}

}  // namespace

int TFestraGuest::StepTime(int step) const {
  return step >= 0 && step < kSteps ? mStepTimes[step] : 0;
}

int TFestraGuest::Update(int dt) {
  if (mPatience < 1) mGraceTimer -= dt;
  if (mSpecialState == kSpecialFrozen) return kGuestNothing;
  if (mSpecialState == kSpecialLevel18) return kSpecialLevel18;
  if (mSpecialState == kSpecialLevel17) return kSpecialLevel17;
  if (mResitPending) {
    mResitPending = false;
    LoopState(kAnimSeated);
    mRequestThreshold = mResitThreshold;
    mDesire = kDesireResit;
    return kDesireResit;
  }
  if (mStepTimer > 0 && mSpecialState != kSpecialWaiting) {
    mStepTimer -= dt;
    const auto table = mTable.lock();
    if (table && (table->GetServiceCounter(TFestraTable::kCoffeeRequests) > 0 ||
                  table->GetServiceCounter(TFestraTable::kTissueRequests) > 0)) {
      mPatience = std::max(0, mPatience - dt / 10);
    }
    return kGuestNothing;
  }
  if (mSpecialState == kSpecialChoose) {
    if (mDesireStep == kSeatWaitStep) {
      mSeatWaitCountdown -= dt;
      const auto table = mTable.lock();
      if (!table || table->CountFreeNeighbours(mSeat) == 0 || mSeatWaitCountdown < 0) {
        EndSeatWait();
        if (mSeatWaitCountdown < 0) {
          DropPatienceThird();
          PlayAngry();
          if (TRoomLevel* level = GetOwner()) level->ResetSeatingCombo();
        }
        return kGuestNothing;
      }
    } else {
      ChooseDesire(dt);
    }
    return FinishChoice();
  }
  if (mSpecialState == kSpecialWaiting) return WaitOnDesire(dt);
  return kGuestNothing;
}

void TFestraGuest::ChooseDesire(int dt) {
  if (mDesireStep == 0) {
    mDesire = kDesireSit;
    if (TRoomLevel* level = GetOwner()) level->AddMetricsCount("PlayTime", dt);
    return;
  }
  if (mDesire == kDesireDance || (mDesire == kDesireResit && mDesireStep == kDanceStep)) {
    mDesireStep = kDanceStep;
    if (mDanceFlag == 0) {
      mDesire = kDesireResit;
      mStepTimer = kDanceWait;
    } else {
      mStepTimer = 0;
      mDesire = kDesireDance;
    }
    return;
  }
  if (mInterruptRequest) {
    mInterruptRequest = false;
    SaveState();
    mResitPending = true;
    RemoveBubble();
    mChances.resit = 0;
    mDesire = mDesireStep;
    return;
  }
  if (!DrawSideRequest()) mDesire = mDesireStep;
}

// The side requests in their order; the first drawn wins and is never drawn again.
bool TFestraGuest::DrawSideRequest() {
  if (ChanceFires(mChances.music)) {
    mChances.music = 0;
    mDesire = kDesireMusic;
    mRequestThreshold = mPatience - mAllowances.music;
    return true;
  }
  if (ChanceFires(mChances.drink)) {
    mChances.drink = 0;
    mDesire = kDesireDrink;
    mRequestThreshold = mPatience - mAllowances.drink;
    return true;
  }
  if (ChanceFires(mChances.coffee)) {
    mChances.coffee = 0;
    RaisePlannerEvent(kEventCoffee);
    mDesire = kDesireCoffee;
    mRequestThreshold = mPatience - mAllowances.coffee;
    mStepTimer = StepTime(mDesireStep);
    LoopState(kAnimProblem);
    return true;
  }
  if (ChanceFires(mChances.tissue)) {
    mChances.tissue = 0;
    RaisePlannerEvent(kEventTissue);
    mDesire = kDesireTissue;
    mRequestThreshold = mPatience - mAllowances.tissue;
    if (TRoomLevel* level = GetOwner()) mSobHandle = level->StartSobbing();
    LoopState(kAnimProblem);
    return true;
  }
  TRoomLevel* level = GetOwner();
  const bool mayResit = level && level->AllowsSeatChanges() && IsRequestDesire();
  // A guest the level keeps from changing seats does not take the draw: it goes on to its
  // next course rather than asking again for the one it has had.
  if (mayResit && ChanceFires(mChances.resit) && !mNoResit) {
    SaveState();
    mResitPending = true;
    RemoveBubble();
    mChances.resit = 0;
    return true;
  }
  return false;
}

void TFestraGuest::RaisePlannerEvent(int code) {
  TRoomLevel* level = GetOwner();
  if (!level) return;
  const TPoint at = GetPosition();
  const int up = mSeat % 2 == 0 ? kEventBalloonUpEven : kEventBalloonUpOdd;
  mPlannerEventCode = code;
  mPlannerEventId =
      level->AddEvent(code, at.x, at.y, at.x - kEventBalloonLeft, at.y - up, at.x, at.y);
}

int TFestraGuest::FinishChoice() {
  mSpecialState = kSpecialWaiting;
  if (mDesireStep < kDanceStep) {
    if (mDesire == kDesireMusic || mDesire == kDesireDrink) {
      mStepTimer = kSideRequestTimer;
    } else if (mDesire == kDesireTissue || mDesire == kDesireCoffee) {
      mStepTimer = mDesireStep < 0 ? kSideRequestTimer : StepTime(mDesireStep);
    } else if (mDesire != kDesireResit && mDesire != kDesireLevelWait) {
      if (mDesire < kDesireMusic) {
        if (TRoomLevel* level = GetOwner()) level->ShowDesireIcon(mDesire, this);
      }
      if (mDesire < kDesireCake) ++mDesireStep;
      mStepTimer = StepTime(mDesireStep);
    }
  }
  ShowNewRequestIcon(mDesire);
  return mDesire;
}

int TFestraGuest::EndSeatWait() {
  AddPatienceBonus();
  mDesire = kDesireGift;
  mDesireStep = 1;
  RemoveBubble();
  const int desire = AdvanceDesire();
  if (TRoomLevel* level = GetOwner()) level->HandleGuestDesire(desire, this);
  return desire;
}

int TFestraGuest::WaitOnDesire(int dt) {
  TRoomLevel* level = GetOwner();
  if (mDesire == kDesireSeatWait) {
    mSeatWaitCountdown -= dt;
    const auto table = mTable.lock();
    if (!table || table->CountFreeNeighbours(mSeat) == 0 || mSeatWaitCountdown < 0) {
      EndSeatWait();
      if (mSeatWaitCountdown < 0) {
        int rating = 0;
        if (table && level) {
          for (const int seat : {mSeat - 1, mSeat + 1}) {
            // A neighbour that has left is skipped.
            if (const auto other = level->FindChair(table.get(), seat)) {
              rating += level->RateSeatingMatch(this, other.get());
            }
          }
        }
        const bool prefers = mSeatingPreference >= 20 && mSeatingPreference <= 99;
        const int seated =
            table ? table->CountNeighbours(mSeat) - table->CountFreeNeighbours(mSeat) : 0;
        if (prefers && rating == seated) {
          if (level) level->AwardSeatingMatch(this);
        } else {
          DropPatienceThird();
          PlayAngry();
          if (level) level->ResetSeatingCombo();
        }
      }
    }
    return kGuestNothing;
  }
  const int third = GetMood();
  mPatience = std::max(0, mPatience - dt);
  if (GetMood() != third || mMoodChanged) {
    mMoodChanged = false;
    RemoveBubble();
    if (level) level->ShowDesireIcon(mDesire, this);
  }
  if (mPatience == 0) return kGuestPatienceOut;
  if (IsTimedRequest(mDesire) && mPatience <= mRequestThreshold) {
    if (mDesire == kDesireCoffee || mDesire == kDesireTissue) {
      EndSideRequest();
      mMoodChanged = true;
    }
    mPatience -= mRequestPenalty;
    if (mPatience <= 0) {
      mPatience = 0;
      return kGuestPatienceOut;
    }
    if (mDesire == kDesireResit) {
      RestoreState();
      return mDesire;
    }
    return kGuestRequestOut;
  }
  return kGuestNothing;
}

int TFestraGuest::AdvanceDesire() {
  if (mSpecialState == kSpecialLevel18) {
    mSpecialState = kSpecialWaiting;
    return mDesire;
  }
  if (mDesireStep < kSteps) mDesire = mDesireStep;
  mSpecialState = kSpecialWaiting;
  if (mDesire < kDesireCake) ++mDesireStep;
  mStepTimer = (mDesire >= 0 && mDesire <= kDesireCoffee) ? StepTime(mDesireStep) : 0;
  if (mDesire == kDesireGift || mDesire == kDesireDinner || mDesire == kDesireCake) {
    ShowNewRequestIcon(mDesire);
  }
  return mDesire;
}
