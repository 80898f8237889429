// The pause menu's script function, a global of the window script bound to the menu while it
// lives (the global gets back what it held when the menu goes): DeliverMsg(number).
#include "game/frontend/FrontendParts.h"
#include "game/frontend/TPauseMenu.h"

void TPauseMenu::BindScriptFunctions() {
  static const TLuaMemberReg<TPauseMenu> kFunctions[] = {
      {"DeliverMsg", BindMember<&TPauseMenu::DeliverMsg>},
  };
  if (lua_State* L = FrontendBindingState("TPauseMenu")) mBindings.Bind(L, this, kFunctions);
}
