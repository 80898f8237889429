// The pause menu: the player's mark, the mute box and the resume message.
#include "game/frontend/TPauseMenu.h"

#include "game/frontend/ScreenParts.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowManager.h"

TPauseMenu::TPauseMenu() {
  if (TPrefs* prefs = ProfilePrefs()) prefs->SetInt("inPauseMenu", 1, CurrentPlayer(), true);
  BindScriptFunctions();
}

TPauseMenu::~TPauseMenu() = default;

TWindow* TPauseMenu::Create() {
  return new TPauseMenu;
}

TWindowClassId TPauseMenu::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TPauseMenu::Create);
}

bool TPauseMenu::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TPauseMenu::PostCreate() {
  TPrefs* prefs = ProfilePrefs();
  if (TButton* box = FindChildOf<TButton>(this, "mutebox")) {
    box->SetChecked(prefs && prefs->GetInt("soundoff", 0, CurrentPlayer()) == 1);
  }
}

void TPauseMenu::DeliverMsg(int /*unused*/) {
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
  if (!top) return;
  TMessage resume(kResumeMessage, "");
  top->OnMessage(&resume);
}
