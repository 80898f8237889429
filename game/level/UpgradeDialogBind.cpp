// The upgrade dialog's script functions, globals of the window script bound to the dialog
// while it lives: Select(index), UpgradeIt() and SaveUpgrade().
#include "game/level/DialogParts.h"
#include "game/level/TUpgradeDialog.h"

void TUpgradeDialog::BindScriptFunctions() {
  lua_State* L = BindingState("TUpgradeDialog");
  if (!L) return;
  mBindings.Bind(L, "Select", this, &TUpgradeDialog::Select);
  mBindings.Bind(L, "UpgradeIt", this, &TUpgradeDialog::UpgradeIt);
  mBindings.Bind(L, "SaveUpgrade", this, &TUpgradeDialog::SaveUpgrade);
}
