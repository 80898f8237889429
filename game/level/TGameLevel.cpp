// The level window's construction and teardown, its identity and the room's way into it.
#include "game/level/TGameLevel.h"

#include <cstdlib>

#include "game/fx/TEffectParams.h"
#include "game/level/GameLevelTask.h"
#include "game/level/LevelAssets.h"
#include "game/level/PlanningRecord.h"
#include "game/level/TLoadingBox.h"
#include "game/room/TCakeTable.h"
#include "game/room/TDishBin.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraTable.h"
#include "game/room/TFestraWaitress.h"
#include "game/room/TGuestBook.h"
#include "game/room/THintBox.h"
#include "game/room/TItemTable.h"
#include "game/room/TMovingParticle.h"
#include "game/room/TSMenu.h"
#include "game/room/TScoreTable.h"
#include "game/room/TSpeaker.h"
#include "game/room/TStatusWidget.h"
#include "game/shell/TGameSettings.h"
#include "game/shell/TMetricsRecorder.h"
#include "game/shell/TShellState.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr const char* kSobbingSound = "assets/audio/sfx/aunt_sobs.ogg";
constexpr int kDislikeBase = 20;
constexpr int kLastPreference = 99;
constexpr float kRoomLeft = -400.0f, kRoomTop = -300.0f;
constexpr int kLoveIconCode = 1850;
constexpr int kPlannerIdleMin = 5000;
constexpr int kPlannerIdleSpread = 2001;

// The seed of the level's draws: the "randseed" setting when it is set, else the clock.
uint32_t LevelSeed() {
  TPlatform* platform = TPlatform::GetInstance();
  if (platform) {
    const TString text = platform->GetSetting(TGameLevel::kSeedSetting);
    if (text.Length() > 0) return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
  }
  return TPlatform::GetTime();
}

}  // namespace

TWindow* TGameLevel::Create() {
  return new TGameLevel();
}

TGameLevel::TGameLevel() {
  TakeFocus();
  BindScriptFunctions();
  mSeed = LevelSeed();
  mRandom.Seed(mSeed);
  TvSrand(mSeed);  // the room objects' draws follow the same seed
  if (TGameSettings* settings = TGameSettings::Get(); settings && settings->GetPrefs())
    settings->GetPrefs()->SetInt(kSelectionDoneKey, 0, -1, true);
  mLevel = 1;
  TWindowManager* manager = TWindowManager::Get();
  if (TModalWindow* top = manager ? manager->GetTopModal() : nullptr) top->DeleteAllTasks();
  CreateRoom();
  mLoadingBox = TLoadingBox::Create(0);
  mLoadingBox->SetOwner(this);
  mLoadingBox->PlaceAt(static_cast<int>(kRoomLeft), static_cast<int>(kRoomTop), kAnchorTopLeft);
  mLoadingBox->Build();
  mSceneRoot->SetVisible(false);
  mLoadStep = 0;
  Start();
  GetShellState().inGame = true;
}

// The room goes with the members: its objects find no level from the first line on.
TGameLevel::~TGameLevel() {
  DetachRoom();
  Teardown();
  GetShellState().inGame = false;
  mLevelMetrics.SetInt("PointsEarned", GetScore());
  mLevelMetrics.Close();
}

TWindowClassId TGameLevel::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TGameLevel::Create);
}

bool TGameLevel::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TGameLevel::TakeFocus() {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager || manager->GetFocus() == this) return;
  mPreviousFocus = manager->GetFocus();
  manager->SetFocus(this);
}

// The room's root and the objects the loader fills in later.
void TGameLevel::CreateRoom() {
  mSceneRoot = TFestraSprite::Create(0);
  mSceneRoot->SetOwner(this);
  mSceneRoot->PlaceAt(static_cast<int>(kRoomLeft), static_cast<int>(kRoomTop), kAnchorTopLeft);
  mDanceFloor = TFestraSprite::Create(0);
  mLovePotion = TFestraSprite::Create(0);
  mHintPointer = TFestraSprite::Create(0);
  for (auto& icon : mChairIcons) icon = TFestraSprite::Create(0);
  mLovePotionIcon = TFestraObject::Create(0);
  mLovePotionIcon->SetOwner(this);
  mHeadTable = TScoreTable::Create(0);
  mMusicTable = TDishBin::Create(0);
  mServingTable = TItemTable::Create(0);
  mMenu = TSMenu::Create(0);
  mGuestBook = TGuestBook::Create(0);
  mHintBox = THintBox::Create(0);
  mHintBox->SetOwner(this);
}

// The level's task joins the top modal window and loading begins.
void TGameLevel::Start() {
  mUpdateTask = new TUpdateGameLevelTask(this);
  TWindowManager* manager = TWindowManager::Get();
  if (TModalWindow* top = manager ? manager->GetTopModal() : nullptr) {
    top->AddTask(mUpdateTask);
  } else {
    DebugLog("TGameLevel::Start: no modal window for the level's task; the level stands still");
    delete mUpdateTask;
    mUpdateTask = nullptr;
  }
  mState = kLoading;
  mHeldGuest.reset();
  mLastTickTime = 0;
  mPlayTime = 0;
  for (auto& slot : mDanceSlots) slot.reset();
  mDanceCount = 0;
  mPlannerIdleTimer = kPlannerIdleMin + mRandom.Next() % kPlannerIdleSpread;
  TMetricsRecorder::Get().StartStoryTimer();
}

void TGameLevel::Teardown() {
  mDepthObjects.clear();
  auto detach = [](const std::shared_ptr<TSprite>& sprite) {
    if (sprite && sprite->GetParent()) sprite->GetParent()->RemoveChild(sprite.get());
  };
  for (const std::shared_ptr<TSprite>& sprite : std::initializer_list<std::shared_ptr<TSprite>>{
           mDanceFloor,     mLovePotion,   mHintPointer, mChairIcons[0],  mChairIcons[1],
           mChef,           mStatusWidget, mHintBox,     mLoadingBox,     mMenu,
           mLovePotionIcon, mCakeTable,    mBoostMeter,  mIntroBubble,    mHeartBursts[0],
           mHeartBursts[1], mDishBin,      mWineTable,   mChampagneTable, mSpeaker,
           mSpeakerWire,    mBand})
    detach(sprite);
  if (mLevelMusic && mMusicName.Length() > 0) mLevelMusic->Stop(-1);
  if (mLevelDialog.GetParent() == this) RemoveChild(&mLevelDialog);
  mHeldGuest.reset();
  for (const std::shared_ptr<TSprite>& sprite : std::initializer_list<std::shared_ptr<TSprite>>{
           mHeadTable, mMusicTable, mGuestBook, mServingTable})
    detach(sprite);
  if (mServingTable) mServingTable->RemoveAllItems();
  for (const auto& guest : mGuests) {
    if (guest->GetLevelState().attachedSprite)
      guest->GetLevelState().attachedSprite->SetVisible(false);
    detach(guest);
  }
  mGuests.clear();
  for (const auto& table : mTables) detach(table);
  mTables.clear();
  for (const auto& waitress : mWaitresses) detach(waitress);
  mWaitresses.clear();
  for (const auto& glass : mChampagneGlasses) detach(glass);
  mChampagneGlasses.clear();
  mMovingParticles.clear();
  mKitchenOrders.clear();
  mAnimSprites.clear();
  mWaitingLine.Clear();
}

int TGameLevel::OnObjectClicked(TSprite* /*object*/, int /*code*/) {
  return 0;
}

void TGameLevel::AddMetricsCount(const char* key, int value) {
  GetMetricsReporter().AddCount(key, value);
}

void TGameLevel::AwardSeatingMatch(TFestraGuest* /*guest*/) {
  ++mSeatingCombo;
}

int TGameLevel::RateSeatingMatch(const TFestraGuest* guest, const TFestraGuest* other) {
  if (!guest || !other) return 0;
  const int preference = guest->GetSeatingPreference();
  const int type = other->GetGuestType();
  if (preference == -1 || preference == type) return 1;
  if (preference == kDislikeBase + type) return -1;
  return preference >= kDislikeBase && preference <= kLastPreference ? 1 : 0;
}

// The sound is kept while the level lives, so that its instances can be stopped by handle.
int TGameLevel::StartSobbing() {
  if (!mSobbingSound)
    mSobbingSound = GetLevelSound(kSobbingSound, true, TSoundManager::kGroupEffects);
  return mSobbingSound ? mSobbingSound->Play(true) : -1;
}

void TGameLevel::StopSobbing(int handle) {
  if (mSobbingSound && handle >= 0) mSobbingSound->Stop(handle);
}

int TGameLevel::StartEffect(const TString& file, const TVec2* at) {
  TEffectParams params;
  if (at) params.position = *at;
  return mEffects.Load(ResolveAssetName(file, TAssetKind::kScript), at ? &params : nullptr);
}

void TGameLevel::PlayClickSound() {
  if (mSounds.gameClick) mSounds.gameClick->Play(false);
}

void TGameLevel::HandleGuestDesire(int desire, TFestraGuest* guest) {
  if (!guest || desire == 17 || desire == 18 || desire == -1) return;
  if (desire == kDesireTissue || desire == kDesireCoffee) {
    ShowDesireIcon(desire, guest);
    return;
  }
  if (desire == kDesireSit) {
    mLevelMetrics.AddCount("TotalGuests", 1);
    guest->SetVisible(true);
    if (mEndless) {
      ShowDesireIcon(desire, guest);
      return;
    }
    for (const auto& g : mGuests) {
      if (g.get() == guest) mNewArrivals.push_back(g);
    }
    return;
  }
  DebugLog("TGameLevel::HandleGuestDesire: desire %d of a guest is not scored yet", desire);
}
