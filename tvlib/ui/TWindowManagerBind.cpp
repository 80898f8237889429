// The window manager's script function, a global of the window script it has attached:
// SetTopModalOnly(on).
#include "tvlib/ui/TWindowManager.h"

void TWindowManager::BindScriptFunctions(lua_State* L) {
  static constexpr TLuaMemberReg<TWindowManager> kFunctions[] = {
      {"SetTopModalOnly", BindMember<&TWindowManager::SetTopModalOnly>},
  };
  mBindings.Bind(L, this, kFunctions);
}
