// The hiscore screen's life cycle, its commands, the polling of the online requests and the
// opening of the submit dialog. What it shows in each state: THiscoreView.cpp.
#include "game/frontend/THiscore.h"

#include "game/frontend/HiscoreTasks.h"
#include "game/frontend/THiscoreSubmit.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/hiscore/TTvHiscores.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr char kSubmitScript[] = "scripts/hiscoresubmit.lua";
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kMessageSize = 512;
// Game modes each view offers, from 0.
constexpr int kLocalModes = 2;
constexpr int kGlobalModes = 4;

}  // namespace

THiscore::THiscore() {
  if (TGameSettings* settings = TGameSettings::Get()) mHiscores = settings->GetHiscores();
  TWindowManager* manager = TWindowManager::Get();
  if (TModalWindow* top = manager ? manager->GetTopModal() : nullptr) {
    mPollTask = new TUpdateHiscoreWindow(this);
    top->AddTask(mPollTask);
  }
}

THiscore::~THiscore() {
  if (mPollTask) mPollTask->Forget();
}

TWindow* THiscore::Create() {
  return new THiscore();
}

TWindowClassId THiscore::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&THiscore::Create);
}

bool THiscore::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

TText* THiscore::FindText(const TString& name) {
  return TText::CastToText(FindChild(name, -1));
}

void THiscore::PostCreate() {
  for (int i = 0; i < kRows; ++i) {
    const size_t row = static_cast<size_t>(i);
    mRanks[row] = FindText(TString::Format("%d", i + 1));
    mNames[row] = FindText(TString::Format("name%d", i + 1));
    mScores[row] = FindText(TString::Format("score%d", i + 1));
    TWindow* icon = FindChild(TString::Format("p1_%d", i + 1), -1);
    mIcons[row] =
        icon && icon->IsKindOf(TImage::GetClassId()) ? static_cast<TImage*>(icon) : nullptr;
  }
  TGameSettings* settings = TGameSettings::Get();
  if (settings && settings->GetAnonymousMode() == 2) {
    // Moved within its parent, wherever the parent stands on the screen.
    if (TWindow* panel = FindChild("leftpanel", -1)) {
      const TRect& rect = panel->GetRect();
      panel->SetPosition(rect.left + kAnonymousPanelShift, rect.top);
    }
  }
  mGameModeText = FindText("gamemode");
  UpdateView();
  UpdateButtons();
}

bool THiscore::AddDirtyRect(TRect* area) {
  if (!area) return false;
  *area = TRect{0, 0, kScreenWidth, kScreenHeight};
  TWindow::AddDirtyRect(area);
  return true;
}

void THiscore::Refresh() {
  UpdateView();
  UpdateButtons();
  Invalidate();
}

bool THiscore::OnMessage(TMessage* message) {
  if (!message || message->mType != kMessageClick || !mHiscores) return false;
  const TString& command = message->mName;
  if (command == TString("gamemodeleft")) return ChangeGameMode(-1);
  if (command == TString("gamemoderight")) return ChangeGameMode(1);
  if (command == TString("categoryleft")) {
    ChangeCategory(-1);
    return true;
  }
  if (command == TString("categoryright")) {
    ChangeCategory(1);
    return true;
  }
  // The commands below go on up the window tree once carried out.
  if (command == TString("view")) {
    mSubmitResult = kNoSubmit;
    mState = kWaitingForCategories;
    mHiscores->RequestCategoryInformation();
    Refresh();
  } else if (command == TString("viewlocal")) {
    mState = kLocal;
    Refresh();
  } else if (command == TString("scrollup")) {
    mScrollOffset -= kRows;
    UpdateView();
  } else if (command == TString("scrolldown")) {
    mScrollOffset += kRows;
    UpdateView();
  } else if (command == TString("submit")) {
    OpenSubmitDialog();
  }
  return false;
}

bool THiscore::ChangeGameMode(int step) {
  TGameSettings* settings = TGameSettings::Get();
  if (!settings || (mState != kLocal && mState != kGlobal)) return false;
  const int modes = mState == kLocal ? kLocalModes : kGlobalModes;
  int mode = settings->GetCurrentGameMode() + step;
  if (mode < 0) {
    mode = modes - 1;
  } else if (mode >= modes) {
    mode = 0;
  }
  settings->SetCurrentGameMode(mode);
  if (mState == kGlobal) {
    mState = kWaitingForScores;
    mHiscores->RequestScores(mCategory);
  }
  mSubmitResult = kNoSubmit;
  Refresh();
  return true;
}

void THiscore::ChangeCategory(int step) {
  const int count = mHiscores->GetCategoryCount();
  mCategory += step;
  if (mCategory < 0) {
    mCategory = count - 1;
  } else if (mCategory >= count) {
    mCategory = 0;
  }
  mState = kWaitingForScores;
  mHiscores->RequestScores(mCategory);
  Refresh();
}

void THiscore::ShowGlobalAfterSubmit(bool placed) {
  mState = kWaitingForCategories;
  mSubmitResult = placed ? kSubmitPlaced : kSubmitNotPlaced;
  if (mHiscores) mHiscores->RequestCategoryInformation();
  UpdateView();
  UpdateButtons();
}

void THiscore::Poll() {
  if (!mHiscores || (mState != kWaitingForCategories && mState != kWaitingForScores)) return;
  char message[kMessageSize] = "";
  const int result = mHiscores->PollRequest(message, kMessageSize, nullptr);
  if (result == 2) {
    mErrorText = message;
    mState = kError;
    Refresh();
  } else if (result == 0 && mState == kWaitingForCategories) {
    mState = kWaitingForScores;
    mHiscores->RequestScores(mCategory);
  } else if (result == 0) {
    mState = kGlobal;
    Refresh();
  }
}

void THiscore::OpenSubmitDialog() {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) return;
  auto* dialog = new THiscoreSubmit(this);
  manager->PushModal(dialog);
  if (!manager->RunWindowScript(dialog, kSubmitScript)) {
    // Without its form the dialog would hold the screen with nothing to press.
    manager->DropModal(dialog);
    return;
  }
  dialog->Setup();
  dialog->ShowForm(false);
}
