// The selection dialog's script functions, globals of the window script bound to the dialog
// while it lives: Select(row, column), PlaceOrder(), SaveSelection(), InitScoring(),
// HideOkButton() and IsSelectDone().
#include "game/level/DialogParts.h"
#include "game/level/TSelectionDialog.h"

void TSelectionDialog::BindScriptFunctions() {
  lua_State* L = BindingState("TSelectionDialog");
  if (!L) return;
  using S = TSelectionDialog;
  static constexpr TLuaMemberReg<S> kFunctions[] = {
      {"SaveSelection", BindMember<&S::SaveSelection>},
      {"Select", BindMember<&S::Select>},
      {"InitScoring", BindMember<&S::InitScoring>},
      {"HideOkButton", BindMember<&S::HideOkButton>},
      {"PlaceOrder", BindMember<&S::PlaceOrder>},
      {"IsSelectDone", BindMember<&S::IsSelectDone>},
  };
  mBindings.Bind(L, this, kFunctions);
}
