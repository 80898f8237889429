// The options window's script function, a global of the window script bound to the window
// while it lives: SaveVolumes().
#include "game/frontend/ScreenParts.h"
#include "game/frontend/TOptions.h"

void TOptions::BindScriptFunctions() {
  lua_State* L = ScreenBindingState("TOptions");
  if (!L) return;
  mBindings.Bind(L, "SaveVolumes", this, &TOptions::SaveVolumes);
}
