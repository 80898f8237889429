// The head table: the couple's happiness, moods, lock, kiss and dance.
#include "game/room/TScoreTable.h"

#include <cmath>

#include "game/room/RoomArt.h"
#include "game/room/RoomCodes.h"
#include "game/room/TFestraStateAnim.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"

namespace {

constexpr float kStepSeconds = 0.75f;
constexpr float kMostPerStep = 25.0f;
constexpr float kHappyAbove = 0.6666f;
constexpr float kNormalAbove = 0.3333f;
constexpr float kShakeBelow = 0.17f;
constexpr int kCoupleFrameDelay = 100;
constexpr int kDanceLayer = 10508;
constexpr const char* kCoupleFolder = "images/character/Brides and Grooms/";
constexpr const char* kMoodNames[] = {"happy", "normal", "mad", "angry"};

}  // namespace

TScoreTable::TScoreTable(int layer)
    : TFestraObject(layer),
      mBride(TFestraStateAnim::Create(1)),
      mGroom(TFestraStateAnim::Create(1)),
      mDance(TFestraStateAnim::Create(kDanceLayer)) {}

TScoreTable::~TScoreTable() = default;

void TScoreTable::Setup(const TString& texture) {
  SetTexture(GetRoomTexture(texture));
  mAngrySound = TSound::Get(kAngrySound, true, TSoundManager::kGroupEffects);
  SetObjectType(kObjectHeadTable);
  GetCheckMark()->SetPosition(static_cast<float>(GetWidth() / 2),
                              static_cast<float>(GetHeight() / 2 + 6), kStoredAnchor);
}

void TScoreTable::LoadCouple(const std::shared_ptr<TFestraStateAnim>& person, const char* prefix,
                             int x, int y) {
  person->ClearStates();
  for (const char* mood : kMoodNames) {
    person->AddState(TString::Format("%s%s_%s.xml", kCoupleFolder, prefix, mood));
  }
  AddChild(person);
  person->SetFrameDelay(kCoupleFrameDelay);
  person->PlayState(kNormal, 1);
  person->PlaceAt(x, y, kStoredAnchor);
  person->SetOwnScript(true);
  person->SetLayer(1);
}

void TScoreTable::LoadBrideAnims(int look) {
  LoadCouple(mBride, look == 12 ? "gen_b2" : "gen_b1", 90, 53);
}

void TScoreTable::LoadGroomAnims(int look) {
  LoadCouple(mGroom, look == 15 ? "gen_g2" : "gen_g1", 126, 53);
}

void TScoreTable::SetMaxHappiness(float maximum) {
  mMaximum = maximum;
  mHappiness = std::trunc(maximum);
}

void TScoreTable::ChangeHappiness(float delta) {
  if (mLocked) return;
  if (delta > 0 && mMaximum - mHappiness <= mPending) delta = 0;
  const float bound = std::fabs(mMaximum);
  mPending = std::fmax(-bound, std::fmin(bound, mPending + delta));
}

void TScoreTable::AddScore(int points) {
  mCoupleScore += points;
  if (mCoupleScore < 0) mCoupleScore = 0;
  if (points < 0) ChangeHappiness(static_cast<float>(points));
}

float TScoreTable::GetHappinessRatio() const {
  const int maximum = TruncateToInt(mMaximum);
  if (maximum <= 0) return 1.0f;
  return static_cast<float>(TruncateToInt(mHappiness)) / static_cast<float>(maximum);
}

void TScoreTable::StepHappiness(int elapsedMs) {
  mStepTimer += static_cast<float>(elapsedMs) / 1000.0f;
  if (mStepTimer > kStepSeconds) {
    mStepTimer -= kStepSeconds;
    const float move =
        std::fabs(mPending) <= kMostPerStep ? mPending : std::copysign(kMostPerStep, mPending);
    mPending -= move;
    mHappiness = std::fmin(mHappiness + move, mMaximum);
  }
  mPreviousMood = mMood;
  const float ratio = GetHappinessRatio();
  mMood = ratio > kHappyAbove ? kHappy : ratio > kNormalAbove ? kNormal : ratio > 0 ? kMad : kAngry;
  mMoodTime = mMood == mPreviousMood ? mMoodTime + elapsedMs : 0;
}

void TScoreTable::Update(int elapsedMs) {
  if (mLocked) {
    Shake();
    return;
  }
  StepHappiness(elapsedMs);
  if (mMood != mPreviousMood) {
    EnterMood();
    return;
  }
  if (mMood == kHappy) {
    if (mKissTimeLeft > 0) mKissTimeLeft -= elapsedMs;
    if (mMoodTime > kKissAfterMs) {
      Kiss();
    } else if (mBride->GetState() == kHappy && mKissTimeLeft <= 0) {
      mMoodTime = 0;
      PlayCouple(kNormal);
    }
  } else if (mMood == kMad && GetHappinessRatio() < kShakeBelow) {
    Shake();
  }
}

void TScoreTable::EnterMood() {
  mKissTimeLeft = 0;
  switch (mMood) {
    case kHappy:
      PlayCouple(kNormal);
      mKissCount = 0;
      break;
    case kNormal:
      PlayCouple(kNormal);
      break;
    case kMad:
      if (!mSteamShown) {
        StartEffect(kSteamEffect);
        mSteamShown = true;
      }
      PlayCouple(kMad);
      break;
    default: {
      mLocked = true;
      StartEffect(kAngryEffect);
      TRoomLevel* level = GetOwner();
      if (level && !level->IsLoading()) level->AddEvent(kEventHeadTable, 340, 0, 340, 0, 340, 50);
      PlayCouple(kAngry);
      if (mAngrySound) mAngrySound->Play(false);
      break;
    }
  }
}

void TScoreTable::PlayCouple(int state) {
  mBride->PlayState(state, 1);
  mGroom->PlayState(state, 1);
}

// b is drawn before a.
void TScoreTable::Shake() {
  const int down = TvRand() % 2;
  const int right = TvRand() % 2;
  mBride->PlaceAt(89 + right, 52 + down, kStoredAnchor);
}

void TScoreTable::Kiss() {
  mMoodTime = 0;
  mKissTimeLeft = kKissMs;
  PlayCouple(kHappy);
  mKissCount = (mKissCount + 1) % 3;
  StartEffect(kKissEffect);
}

void TScoreTable::StartEffect(const char* file) {
  if (TRoomLevel* level = GetOwner()) level->StartEffect(file, nullptr);
}

void TScoreTable::ResetHappiness() {
  if (TRoomLevel* level = GetOwner()) level->RemoveEvent(kEventHeadTable);
  mLocked = false;
  mSteamShown = false;
  mHappiness = std::trunc(mMaximum);
  mMoodTime = 0;
  mPending = 0;
  Update(0);
  if (TRoomLevel* level = GetOwner()) level->AddMetricsCount("VelkaEventsCompleted", 1);
}

void TScoreTable::StartDance(const std::shared_ptr<TSprite>& target) {
  if (!target) {
    DebugLog("TScoreTable::StartDance: no sprite to dance on");
    return;
  }
  for (const auto& person : {mBride, mGroom}) {
    RemoveChild(person.get());
    target->AddChild(person);
    person->SetVisible(false);
  }
  mDance->ClearStates();
  mDance->AddState(kDance);
  mDance->SetFrameDelay(kCoupleFrameDelay);
  mDance->LoopState(0);
  target->AddChild(mDance);
  mDance->PlaceAt(490, 520, kStoredAnchor);
}
