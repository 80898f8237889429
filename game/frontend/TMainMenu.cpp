// The main menu: music, sparkles, the progress questions and the start of levels.
#include "game/frontend/TMainMenu.h"

#include "game/frontend/FrontendParts.h"
#include "game/frontend/LevelProgress.h"
#include "game/frontend/ShownChildren.h"
#include "game/shell/MenuMusic.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPlatformEvent.h"
#include "tvlib/core/TTask.h"
#include "tvlib/hiscore/TTvHiscores.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr char kCrossSellFile[] = "xsell/xsell.xml";

// The menu's update, owned by the menu's modal window; it ends when the menu has gone.
class TUpdateMainMenuTask : public TAnimTask {
 public:
  TUpdateMainMenuTask(TMainMenu* menu, std::weak_ptr<bool> alive)
      : mMenu(menu), mAlive(std::move(alive)) {
    SetPeriod(TMainMenu::kUpdatePeriodMs, true, true, false);
  }
  bool Animate() override { return !mAlive.expired() && mMenu->Update(); }

 private:
  TMainMenu* mMenu;
  std::weak_ptr<bool> mAlive;
};

bool IsKey(int key, char letter) {
  return key == letter || key == letter - 'a' + 'A';
}

}  // namespace

TMainMenu::TMainMenu() {
  LoadMenuMusic();
  SwitchToMenuMusic();
  BindScriptFunctions();
  TWindowManager* manager = TWindowManager::Get();
  if (TModalWindow* holder = manager ? manager->GetTopModal() : nullptr) {
    holder->AddTask(new TUpdateMainMenuTask(this, mAlive));
  } else {
    DebugLog("TMainMenu: no modal window for its update");
  }
  mLastUpdate = TPlatform::GetTime();
}

// The manager it was given to, which deletes the screens before its overlays when it goes.
TMainMenu::~TMainMenu() {
  if (mOverlayOwner) mOverlayOwner->RemoveOverlay(&mOverlay);
}

TWindow* TMainMenu::Create() {
  return new TMainMenu;
}

TWindowClassId TMainMenu::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TMainMenu::Create);
}

bool TMainMenu::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TMainMenu::PostCreate() {
  WritePlayerInt("inPauseMenu", 0, FrontendPlayer());
  TWindowManager* manager = TWindowManager::Get();
  if (manager) manager->SetFocus(this);
  if (!FileExists(kCrossSellFile)) SetChildShown(this, "moregames", false);
  if (manager) {
    manager->AddOverlay(&mOverlay);
    mOverlayOwner = manager;
    if (TText* version = FindText(manager->GetTopModal(), "version")) {
      if (TPlatform* platform = TPlatform::GetInstance()) {
        version->SetText(platform->GetVersionString());
      }
    }
  }
  RefreshMuteBox();
}

void TMainMenu::RefreshMuteBox() {
  if (TButton* mute = FindButtonNamed(this, "mutebox")) {
    mute->SetChecked(ReadPlayerInt("soundoff", 0, FrontendPlayer()) == 1);
  }
}

bool TMainMenu::AddDirtyRect(TRect* area) {
  if (!area) return false;
  *area = TRect{0, 0, kScreenWidth, kScreenHeight};
  TWindow::AddDirtyRect(area);
  return true;
}

bool TMainMenu::Update() {
  TWindowManager* manager = TWindowManager::Get();
  const TModalWindow* holder = FindModalAncestor();
  if (manager && holder && holder == manager->GetTopModal() && !IsVisible()) {
    AddFlags(kWindowVisible);
    SwitchToMenuMusic();
    RefreshMuteBox();
  }
  const uint32_t now = TPlatform::GetTime();
  const uint32_t elapsed = now - mLastUpdate;  // modulo 2^32 across the clock's wrap
  mLastUpdate = now;
  mOverlay.Update(static_cast<float>(elapsed) / 1000.0f);
  mOverlay.SetRedraw();
  Invalidate();
  return true;
}

bool TMainMenu::OnKeyDown(int key, uint32_t modifiers) {
  if (modifiers != kKeyModCtrl) return true;
  if (IsKey(key, 'a')) {
    if (TWindowManager* manager = TWindowManager::Get()) {
      manager->PushDialog(kArcadeMapScript, TString(), TString(), kArcadeMapScript);
    }
  } else if (IsKey(key, 's')) {
    // A chord players press by habit must not wipe their tables: a tester's key only.
    TGameSettings* settings = TGameSettings::Get();
    if (settings && settings->IsCheatMode()) WipeLocalHiscores();
  }
  return true;
}

// Wipes both local tables, then selects the profile's own mode again.
void TMainMenu::WipeLocalHiscores() {
  TGameSettings* settings = TGameSettings::Get();
  TTvHiscores* hiscores = settings ? settings->GetHiscores() : nullptr;
  if (!hiscores) return;
  for (const char* table : {kEndlessTableId, kCareerTableId}) {
    hiscores->SetQueryField(TTvHiscores::kFieldMode, table);
    hiscores->DeleteLocalTable();
  }
  settings->SetCurrentGameMode(settings->GetCurrentGameMode());
}

TString TMainMenu::GetUser(int index) {
  return index == -1 ? TString("currentUser") : TString("user1");
}

int TMainMenu::GetCurrentUser() {
  return FrontendPlayer();
}

int TMainMenu::IsFirstTime() {
  return ReadPlayerInt("isFirstTime", 1, FrontendPlayer());
}

void TMainMenu::SetComicOff() {
  WritePlayerInt("isFirstTime", 0, FrontendPlayer());
}

int TMainMenu::GetLevelStatus(int venue, int level) {
  const int player = FrontendPlayer();
  const bool expert =
      ReadPlayerInt(TString::Format("Expert%d.%d", venue, level).c_str(), 0, player) != 0;
  return LevelStatus(venue, level, ReadPlayerInt("lastMap", 1, player),
                     ReadPlayerInt("lastLevel", 0, player), expert);
}

int TMainMenu::GetBestScore(int venue, int level) {
  return ReadPlayerInt(TString::Format("Score%d.%d", venue, level).c_str(), 0, FrontendPlayer());
}

int TMainMenu::GetCurrentVenue() {
  return ReadPlayerInt("lastMap", 1, FrontendPlayer());
}

int TMainMenu::GetCurrentLevel() {
  return ReadPlayerInt("lastLevel", 0, FrontendPlayer());
}

void TMainMenu::HideMainMenu() {
  Invalidate();
  ClearFlags(kWindowVisible);
}

void TMainMenu::ToLevel(int venue, int level) {
  TGameSettings* settings = TGameSettings::Get();
  const bool endless = settings && settings->GetCurrentGameMode() > 0;
  const TString script = FindLevelScript(endless, venue, level);
  if (script.Length() > 0) OpenLevelScript(script, endless, venue);
}

void TMainMenu::RestartLevel(int level, int venue) {
  ToLevel(venue, level);
}
