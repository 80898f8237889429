// The selection dialog's script functions, globals of the window script bound to the dialog
// while it lives: Select(row, column), PlaceOrder(), SaveSelection(), InitScoring(),
// HideOkButton() and IsSelectDone().
#include "game/level/DialogParts.h"
#include "game/level/TSelectionDialog.h"

void TSelectionDialog::BindScriptFunctions() {
  lua_State* L = BindingState("TSelectionDialog");
  if (!L) return;
  mBindings.Bind(L, "SaveSelection", this, &TSelectionDialog::SaveSelection);
  mBindings.Bind(L, "Select", this, &TSelectionDialog::Select);
  mBindings.Bind(L, "InitScoring", this, &TSelectionDialog::InitScoring);
  mBindings.Bind(L, "HideOkButton", this, &TSelectionDialog::HideOkButton);
  mBindings.Bind(L, "PlaceOrder", this, &TSelectionDialog::PlaceOrder);
  mBindings.Bind(L, "IsSelectDone", this, &TSelectionDialog::IsSelectDone);
}
