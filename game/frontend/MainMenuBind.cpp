// The main menu's script functions, globals of the window script bound to the menu while it
// lives.
#include "game/frontend/FrontendParts.h"
#include "game/frontend/TMainMenu.h"

void TMainMenu::BindScriptFunctions() {
  lua_State* L = FrontendBindingState("TMainMenu");
  if (!L) return;
  mBindings.Bind(L, "SetWelcomeName", this, &TMainMenu::SetWelcomeName);
  mBindings.Bind(L, "GetUser", this, &TMainMenu::GetUser);
  mBindings.Bind(L, "GetCurrentUser", this, &TMainMenu::GetCurrentUser);
  mBindings.Bind(L, "IsFirstTime", this, &TMainMenu::IsFirstTime);
  mBindings.Bind(L, "SetComicOff", this, &TMainMenu::SetComicOff);
  mBindings.Bind(L, "GetLevelStatus", this, &TMainMenu::GetLevelStatus);
  mBindings.Bind(L, "GetBestScore", this, &TMainMenu::GetBestScore);
  mBindings.Bind(L, "GetCurrentVenue", this, &TMainMenu::GetCurrentVenue);
  mBindings.Bind(L, "GetCurrentLevel", this, &TMainMenu::GetCurrentLevel);
  mBindings.Bind(L, "HideMainMenu", this, &TMainMenu::HideMainMenu);
  mBindings.Bind(L, "ToLevel", this, &TMainMenu::ToLevel);
  mBindings.Bind(L, "RestartLevel", this, &TMainMenu::RestartLevel);
}
