// The level's tick and its states: loading, the introduction, the planning hand-over, serving,
// closing and the pause, with the messages, keys and script actions that move between them.
#include "game/level/GameLevelTask.h"
#include "game/level/LevelAssets.h"
#include "game/level/PlanningRecord.h"
#include "game/level/TGameLevel.h"
#include "game/level/TLoadingBox.h"
#include "game/room/GuestCodes.h"
#include "game/room/TCakeTable.h"
#include "game/room/TFestraAnimSprite.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraWaitress.h"
#include "game/room/TMovingParticle.h"
#include "game/room/TScoreTable.h"
#include "game/shell/LevelLaunch.h"
#include "game/shell/MenuMusic.h"
#include "game/shell/ScriptModal.h"
#include "game/shell/TGameSettings.h"
#include "game/shell/TMetricsRecorder.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/media/TAnimatedSprite.h"
#include "tvlib/media/TSound.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr int kMessageImageButton = 55;
constexpr int kMessageResume = 1700;
constexpr int kActionResume = 1700;
constexpr int kActionQuit = 1704;
constexpr int kActionPlanning = 1705;
// The metrics' end code of a level left from the pause menu: neither won nor lost.
constexpr int kLeftLevel = 14;
constexpr int kKeyEscape = 27;
constexpr int kBoostStepMs = 10000;
constexpr int kBoostFullFrame = 5;
constexpr int kBoostBlinkMs = 1000;
constexpr int kBoostBlinkHalfMs = 500;
constexpr int kBoostBlinkOn = 6;
constexpr int kBoostBlinkOff = 7;
constexpr int kChefIdle = 0;
constexpr const char* kPlanningTutorial = "scripts/planning_tutorial.lua";
constexpr const char* kLetsPlanButton = "lets_plan";

TPrefs* Prefs() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetPrefs() : nullptr;
}

}  // namespace

TUpdateGameLevelTask::TUpdateGameLevelTask(TGameLevel* level) : mLevel(level) {
  SetPeriod(TGameLevel::kTickMs, false, true, false);
}

bool TUpdateGameLevelTask::Animate() {
  mLevel->Tick();
  mLevel->Invalidate();
  SetPeriod(TGameLevel::kTickMs, false, true, false);
  return true;
}

void TGameLevel::Tick() {
  const uint32_t now = TPlatform::GetTime();
  const uint32_t gap = now - mLastTickTime;
  const int dt =
      mLastTickTime != 0 && gap <= static_cast<uint32_t>(kMaxTickMs) ? static_cast<int>(gap) : 0;
  mLastDt = dt;
  mPlayTime += dt;
  mLastTickTime = now;
  const float seconds = static_cast<float>(dt) / 1000.0f;
  GetMetricsReporter().AddTime(mEndless ? "ArcadeModePlayTime" : "StoryModePlayTime", seconds);
  GetMetricsReporter().AddTime(mEndless ? "ArcadeModeSessionTime" : "StoryModeSessionTime",
                               seconds);
  mLevelMetrics.AddTime("PlayTime", seconds);
  switch (mState) {
    case kServing:
      ServingTick(dt);
      break;
    case kClosing:
      UpdateClosing(dt);
      break;
    case kIntro:
      UpdateIntro();
      break;
    case kLoading:
      StepLoading();
      break;
    case kPlanningChoice:
      WaitForPlanning();
      break;
    default:
      break;  // won, lost, paused and the upgrade choice have no step of their own yet
  }
  mEffects.Update(seconds);
  mBackEffects.Update(seconds);
}

void TGameLevel::StepLoading() {
  HideParentChild(kPauseButton);
  LoadLevelStep();
  if (mLoadingBox) mLoadingBox->SetProgress(mLoadStep * 13 / 10);
  if (mLoadStep > kLastLoadStep) {
    ShowParentChild(kPauseButton);
    mState = kIntro;
  }
}

// The pieces of the serving tick that belong to the scoring, the kitchen, the guests'
// arrival, the tutorial, the heroine's problems and the endless pacing come with those rules;
// this runs the room's own updates.
void TGameLevel::ServingTick(int dt) {
  if (mBubbleHold) {
    SortByDepth(false);
    return;
  }
  mServingClock += dt;
  if (mCakeTable) mCakeTable->CheckTipOver(dt);
  if (mHeadTable) mHeadTable->Update(dt);
  TWindowManager* manager = TWindowManager::Get();
  if (manager && manager->GetFocus() != this) TakeFocus();
  UpdateMovingParticles(dt);
  if (mSettings.blaster) UpdateBoostMeter(dt);
  for (const auto& waitress : mWaitresses) waitress->Update(dt);
  // A guest's update may change the guest list through the level's answers: walk a copy.
  const std::vector<std::shared_ptr<TFestraGuest>> guests = mGuests;
  for (const auto& guest : guests) {
    const int answer = guest->Update(dt);
    if (answer >= kDesireSit && answer <= kDesireDance) HandleGuestDesire(answer, guest.get());
  }
  if (!mEndless && mGuestsDone >= mGuestsTotal) {
    mLevelDialog.SetScores(GetScore(), mGoal, mExpertGoal);
    mState = kClosing;
    mClosingTimer = kClosingMs;
    mEndState = GetScore() >= mGoal ? kWon : kLost;
    if (mChef) mChef->PlayState(kChefIdle, 1);
    return;
  }
  SortByDepth(false);
}

void TGameLevel::UpdateClosing(int dt) {
  mClosingTimer -= dt;
  UpdateMovingParticles(dt);
  for (const auto& waitress : mWaitresses) waitress->Update(dt);
  std::vector<std::shared_ptr<TFestraGuest>> leaving;
  for (const auto& guest : mGuests) {
    if (guest->GetLevelState().bumpedOffDanceFloor) {
      guest->ClearSeat();
      leaving.push_back(guest);
    }
  }
  for (const auto& guest : leaving) {
    if (guest->GetLevelState().attachedSprite)
      guest->GetLevelState().attachedSprite->SetVisible(false);
    guest->ClearSeat();
    std::erase(mGuests, guest);
    std::erase_if(mDepthObjects, [&](const auto& s) { return s.get() == guest.get(); });
  }
  if (mClosingTimer <= 0) mState = GetScore() > mGoal ? kWon : mEndState;
  SortByDepth(false);
}

void TGameLevel::UpdateIntro() {
  if (mLevelDialog.GetParent() == this) return;
  if (!mEndless) {
    AddChild(&mLevelDialog, true);
    if (mVenue == 1 && mLevel == 1 && FileExists(kPlanningTutorial)) {
      OpenScriptModal(kPlanningTutorial);
      HidePlanningButtons();
    }
  } else {
    PauseAction(kActionPlanning);
  }
  if (mLoadingBox) mLoadingBox->SetVisible(false);
  mSceneRoot->SetVisible(true);
  if (!mEndless) PauseAnims(true);
}

void TGameLevel::WaitForPlanning() {
  TPrefs* prefs = Prefs();
  if (!prefs || prefs->GetInt(kSelectionDoneKey, 0, -1) != 1) return;
  PauseAction(kActionPlanning);
  prefs->SetInt(kSelectionDoneKey, 0, -1, true);
}

// The planning choices' images, decorations and points are the planning game's; here the
// record is taken over and serving starts.
void TGameLevel::StartServing() {
  TPlanningRecord record;
  if (TPrefs* prefs = Prefs()) LoadPlanningRecord(*prefs, &record);
  mState = kServing;
  TakeFocus();
  Invalidate();
  StopMenuMusic();
  if (mLevelMusic) mLevelMusic->Play(true);
  mLastTickTime = TPlatform::GetTime();
  PauseAnims(false);
}

void TGameLevel::OpenPlanning() {
  if (mVenue == 0) mVenue = 1;
  if (mLevel == 0) mLevel = 1;
  const TString script =
      TString::Format("assets/scripts/selection scripts/selection%d.%d.lua", mVenue, mLevel);
  // Without its selection script the level would wait for a choice no one offers.
  if (!FileExists(script)) {
    DebugLog("TGameLevel: no planning selection '%s'; the level starts without planning",
             script.c_str());
    PauseAction(kActionPlanning);
    return;
  }
  mState = kPlanningChoice;
  if (TWindowManager* manager = TWindowManager::Get()) manager->PushDialog(script, "", "", "");
}

void TGameLevel::PauseAction(int action) {
  switch (action) {
    case kActionResume:
      if (mState == kPaused || mState == kUpgradeChoice) Resume();
      TakeFocus();
      break;
    case kActionQuit:
      RecordLevelMetrics(kLeftLevel);
      if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal();
      break;
    case kActionPlanning:
      StartServing();
      break;
    default:
      break;
  }
}

bool TGameLevel::RequestPause() {
  if (mState != kPaused) TogglePause();
  return true;
}

void TGameLevel::Resume() {
  PauseAnims(false);
  if (mLevelMusic) mLevelMusic->Pause(false, -1);
  if (mEndless) {
    TMetricsRecorder::Get().StartArcadeTimer();
  } else {
    TMetricsRecorder::Get().StartStoryTimer();
  }
  mState = mSavedState;
  mLastTickTime = TPlatform::GetTime();
}

void TGameLevel::TogglePause() {
  if (mState == kLoading) return;
  if (mState == kPaused || mState == kUpgradeChoice) {
    Resume();
    return;
  }
  PauseAnims(true);
  if (mLevelMusic) mLevelMusic->Pause(true, -1);
  if (mEndless) {
    TMetricsRecorder::Get().PauseArcadeTimer();
  } else {
    TMetricsRecorder::Get().PauseStoryTimer();
  }
  mSavedState = mState;
  mState = kPaused;
  TWindowManager* manager = TWindowManager::Get();
  if (manager && FileExists(kPauseMenuScript)) {
    TModalWindow* menu = manager->PushDialog(kPauseMenuScript, "", "", "");
    manager->SetFocus(menu);
  } else {
    DebugLog("TGameLevel: no pause menu '%s'; p resumes the level", kPauseMenuScript);
  }
  mLastTickTime = TPlatform::GetTime();
}

void TGameLevel::PauseAnims(bool pause) {
  for (const auto& sprite : mAnimSprites) {
    if (auto* animated = dynamic_cast<TAnimatedSprite*>(sprite.get())) animated->Pause(pause, -1);
  }
}

void TGameLevel::HideParentChild(const TString& name) {
  TWindow* window = GetParent() ? GetParent()->FindChild(name, -1) : nullptr;
  if (window) window->ClearFlags(kWindowVisible);
}

void TGameLevel::ShowParentChild(const TString& name) {
  TWindow* window = GetParent() ? GetParent()->FindChild(name, -1) : nullptr;
  if (window) window->AddFlags(kWindowVisible);
}

void TGameLevel::HidePlanningButtons() {
  HideParentChild(kPauseButton);
  if (TWindow* plan = FindChild(kLetsPlanButton, -1)) plan->ClearFlags(kWindowVisible);
}

void TGameLevel::RevealPlanningButtons() {
  ShowParentChild(kPauseButton);
  if (TWindow* plan = FindChild(kLetsPlanButton, -1)) plan->AddFlags(kWindowVisible);
}

int TGameLevel::GetScore() const {
  return mHeadTable ? mHeadTable->GetCoupleScore() : 0;
}

void TGameLevel::RecordLevelMetrics(int endState) {
  const int code = endState == kWon ? 0 : endState == kLost ? 1 : 2;
  const bool expert = GetScore() >= mExpertGoal;
  TMetricsRecorder& recorder = TMetricsRecorder::Get();
  if (mEndless) {
    recorder.RecordLevelCompleteArcade(mLevel, static_cast<uint32_t>(mPlayTime), code, mGuestsTotal,
                                       GetScore(), expert);
  } else {
    recorder.RecordLevelCompleteStory(mVenue, mLevel, static_cast<uint32_t>(mPlayTime), code,
                                      mGuestsTotal, GetScore(), expert);
  }
}

void TGameLevel::UpdateBoostMeter(int dt) {
  if (!mBoostMeter) return;
  if (mBoostFill < kBoostMeterFullMs) {
    mBoostFill = std::min(mBoostFill + dt, kBoostMeterFullMs);
    const int frame = std::min(mBoostFill / kBoostStepMs, kBoostFullFrame);
    if (frame != mBoostFrame) mBoostMeter->SetCurrentFrame(frame);
    mBoostFrame = frame;
    return;
  }
  mBoostBlink += dt;
  if (mBoostBlink > kBoostBlinkMs) {
    mBoostBlink = 0;
    mBoostFrame = kBoostBlinkOn;
    mBoostMeter->SetCurrentFrame(mBoostFrame);
  } else if (mBoostBlink > kBoostBlinkHalfMs && mBoostFrame != kBoostBlinkOff) {
    mBoostFrame = kBoostBlinkOff;
    mBoostMeter->SetCurrentFrame(mBoostFrame);
  }
}

void TGameLevel::UpdateMovingParticles(int dt) {
  std::erase_if(mMovingParticles, [dt](const std::shared_ptr<TMovingParticle>& particle) {
    if (particle->UpdateMove(dt)) return false;
    if (particle->GetParent()) particle->GetParent()->RemoveChild(particle.get());
    return true;
  });
}

// Messages of the level's dialogs: the introduction's plan and continue buttons lead to the
// planning choice (or, in the endless reception, straight to serving); the venue map button
// closes the level. The other pages' rules are not built yet.
bool TGameLevel::OnMessage(TMessage* message) {
  if (!message || message->mType == kMessageResume || message->mType != kMessageImageButton)
    return true;
  const TString& name = message->mName;
  if (name == "lets_plan_festra" || name == "continue") {
    if (mLevelDialog.GetParent() == this) RemoveChild(&mLevelDialog);
    if (mState == kIntro) {
      if (mSounds.dialogClick) mSounds.dialogClick->Play(false);
      if (mEndless) {
        PauseAction(kActionPlanning);
      } else {
        OpenPlanning();
        return true;
      }
    }
  } else if (name == "ui.dialog.metamap.title") {
    if (mLevelDialog.GetParent() == this) RemoveChild(&mLevelDialog);
    if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal();
    return true;
  } else if (name == "ui.dialog.restartlevel.title") {
    if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal();
    OpenLevelScript(mEndless ? EndlessLevelScript(mVenue) : StoryLevelScript(mVenue, mLevel));
    return true;
  }
  TakeFocus();
  return true;
}

bool TGameLevel::OnKeyDown(int key, uint32_t /*modifiers*/) {
  const int c = key & 0xFF;
  if (c == 'p' || c == 'P' || c == kKeyEscape) {
    TogglePause();
    return true;
  }
  return false;
}
