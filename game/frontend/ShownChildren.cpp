// Showing and hiding the children a screen script built.
#include "game/frontend/ShownChildren.h"

#include "tvlib/ui/TWindow.h"

bool SetShown(TWindow* window, bool show) {
  if (!window || window->IsVisible() == show) return false;
  if (show) {
    window->AddFlags(kWindowVisible);
  } else {
    window->ClearFlags(kWindowVisible);
  }
  return true;
}

bool SetChildShown(TWindow* root, const TString& name, bool show) {
  return SetShown(root->FindChild(name, -1), show);
}
