// The selection dialog's script functions, globals of the window script bound to the dialog
// while it lives: Select(row, column), PlaceOrder(), SaveSelection(), InitScoring(),
// HideOkButton() and IsSelectDone().
#include "game/level/TSelectionDialog.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/ui/TWindowManager.h"

void TSelectionDialog::BindScriptFunctions() {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (!script) {
    DebugLog("TSelectionDialog: no window script for its functions");
    return;
  }
  lua_State* L = script->GetState();
  mBindings.Bind(L, "SaveSelection", this, &TSelectionDialog::SaveSelection);
  mBindings.Bind(L, "Select", this, &TSelectionDialog::Select);
  mBindings.Bind(L, "InitScoring", this, &TSelectionDialog::InitScoring);
  mBindings.Bind(L, "HideOkButton", this, &TSelectionDialog::HideOkButton);
  mBindings.Bind(L, "PlaceOrder", this, &TSelectionDialog::PlaceOrder);
  mBindings.Bind(L, "IsSelectDone", this, &TSelectionDialog::IsSelectDone);
}
