// The options window's script function, a global of the window script bound to the window
// while it lives (the global gets back what it held when the window goes): SaveVolumes().
#include "game/frontend/FrontendParts.h"
#include "game/frontend/TOptions.h"

void TOptions::BindScriptFunctions() {
  static const TLuaMemberReg<TOptions> kFunctions[] = {
      {"SaveVolumes", BindMember<&TOptions::SaveVolumes>},
  };
  if (lua_State* L = FrontendBindingState("TOptions")) mBindings.Bind(L, this, kFunctions);
}
