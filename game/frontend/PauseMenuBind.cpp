// The pause menu's script function, a global of the window script bound to the menu while it
// lives: DeliverMsg(number).
#include "game/frontend/ScreenParts.h"
#include "game/frontend/TPauseMenu.h"

void TPauseMenu::BindScriptFunctions() {
  lua_State* L = ScreenBindingState("TPauseMenu");
  if (!L) return;
  mBindings.Bind(L, "DeliverMsg", this, &TPauseMenu::DeliverMsg);
}
