// The layered window's layer lists and layer selection.
#include "tvlib/ui/TLayeredWindow.h"

#include <algorithm>

#include "tvlib/ui/TWindowSpider.h"

TLayeredWindow::TLayeredWindow(int layerCount) : mLayers(std::max(layerCount, 0)) {}

TWindow* TLayeredWindow::Create() {
  return new TLayeredWindow(1);
}

TWindowClassId TLayeredWindow::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TLayeredWindow::Create);
}

bool TLayeredWindow::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

bool TLayeredWindow::AddChild(TWindow* child, bool init) {
  if (!TWindow::AddChild(child, init)) return false;
  for (int layer = 0; layer < GetLayerCount(); ++layer) {
    if (mLayer == -1 || layer == mLayer) {
      auto& list = mLayers[layer];
      list.insert(list.begin(), child);
    }
  }
  return true;
}

TWindow* TLayeredWindow::RemoveChild(TWindow* child) {
  TWindow* parent = TWindow::RemoveChild(child);
  for (auto& list : mLayers) list.erase(std::remove(list.begin(), list.end(), child), list.end());
  return parent;
}

void TLayeredWindow::SelectLayer(int layer) {
  if (layer == mLayer) return;
  mLayer = layer;
  TWindowClearFlags hide(~kWindowVisible, false);
  ForEachChild(&hide);
  const int shown = layer == -1 ? 0 : layer;
  if (shown >= 0 && shown < GetLayerCount()) {
    for (TWindow* child : mLayers[shown]) child->AddFlags(kWindowVisible);
  }
  Invalidate();
}
