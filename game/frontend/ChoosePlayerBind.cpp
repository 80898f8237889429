// The player choice's script functions, globals of the window script bound to the window
// while it lives (each global gets back what it held when the window goes):
// SetPlayerChoices(), GetCurrentSelectedUser() and GetSelectedPlayerName().
#include "game/frontend/FrontendParts.h"
#include "game/frontend/TChoosePlayer.h"

void TChoosePlayer::BindScriptFunctions() {
  static const TLuaMemberReg<TChoosePlayer> kFunctions[] = {
      {"SetPlayerChoices", BindMember<&TChoosePlayer::SetPlayerChoices>},
      {"GetCurrentSelectedUser", BindMember<&TChoosePlayer::GetCurrentSelectedUser>},
      {"GetSelectedPlayerName", BindMember<&TChoosePlayer::GetSelectedPlayerName>},
  };
  if (lua_State* L = FrontendBindingState("TChoosePlayer")) mBindings.Bind(L, this, kFunctions);
}
