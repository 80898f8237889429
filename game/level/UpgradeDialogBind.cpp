// The upgrade dialog's script functions, globals of the window script bound to the dialog
// while it lives: Select(index), UpgradeIt() and SaveUpgrade().
#include "game/level/TUpgradeDialog.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/ui/TWindowManager.h"

void TUpgradeDialog::BindScriptFunctions() {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (!script) {
    DebugLog("TUpgradeDialog: no window script for its functions");
    return;
  }
  lua_State* L = script->GetState();
  mBindings.Bind(L, "Select", this, &TUpgradeDialog::Select);
  mBindings.Bind(L, "UpgradeIt", this, &TUpgradeDialog::UpgradeIt);
  mBindings.Bind(L, "SaveUpgrade", this, &TUpgradeDialog::SaveUpgrade);
}
