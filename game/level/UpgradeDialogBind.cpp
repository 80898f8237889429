// The upgrade dialog's script functions, globals of the window script bound to the dialog
// while it lives: Select(index), UpgradeIt() and SaveUpgrade().
#include "game/level/DialogParts.h"
#include "game/level/TUpgradeDialog.h"

void TUpgradeDialog::BindScriptFunctions() {
  lua_State* L = BindingState("TUpgradeDialog");
  if (!L) return;
  using S = TUpgradeDialog;
  static constexpr TLuaMemberReg<S> kFunctions[] = {
      {"Select", BindMember<&S::Select>},
      {"UpgradeIt", BindMember<&S::UpgradeIt>},
      {"SaveUpgrade", BindMember<&S::SaveUpgrade>},
  };
  mBindings.Bind(L, this, kFunctions);
}
