// The player choice's script functions, globals of the window script bound to the window
// while it lives: SetPlayerChoices(), GetCurrentSelectedUser() and GetSelectedPlayerName().
#include "game/frontend/ScreenParts.h"
#include "game/frontend/TChoosePlayer.h"

void TChoosePlayer::BindScriptFunctions() {
  lua_State* L = ScreenBindingState("TChoosePlayer");
  if (!L) return;
  mBindings.Bind(L, "SetPlayerChoices", this, &TChoosePlayer::SetPlayerChoices);
  mBindings.Bind(L, "GetCurrentSelectedUser", this, &TChoosePlayer::GetCurrentSelectedUser);
  mBindings.Bind(L, "GetSelectedPlayerName", this, &TChoosePlayer::GetSelectedPlayerName);
}
