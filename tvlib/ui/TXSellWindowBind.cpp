// The more-games panel's script functions, globals of the window script bound by the newest
// panel: SetupXSell() and LaunchGameLink(index).
#include "tvlib/ui/TXSellWindow.h"

void TXSellWindow::BindScriptFunctions(lua_State* L) {
  static constexpr TLuaMemberReg<TXSellWindow> kFunctions[] = {
      {"SetupXSell", BindMember<&TXSellWindow::SetupXSell>},
      {"LaunchGameLink", BindMember<&TXSellWindow::LaunchGameLink>},
  };
  mBindings.Bind(L, this, kFunctions);
}
