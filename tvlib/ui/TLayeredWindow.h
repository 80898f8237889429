// A window whose children belong to numbered layers: selecting a layer shows the children of
// that layer and hides every other child. A child added while the current layer is -1 joins
// every layer. The base of buttons, whose layers are their looks per state.
#pragma once

#include <vector>

#include "tvlib/ui/TWindow.h"

class TLayeredWindow : public TWindow {
 public:
  explicit TLayeredWindow(int layerCount);

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // The child also joins the front of the current layer's list (every list for layer -1).
  bool AddChild(TWindow* child, bool init) override;
  // The child also leaves every layer's list.
  TWindow* RemoveChild(TWindow* child) override;
  // Hides every child, shows those of `layer` (layer 0's for -1) and redraws; nothing when
  // the layer is already current. Layers outside the count show nothing.
  void SelectLayer(int layer);
  int GetLayer() const { return mLayer; }
  int GetLayerCount() const { return static_cast<int>(mLayers.size()); }
  const std::vector<TWindow*>& GetLayerChildren(int layer) const { return mLayers.at(layer); }

 private:
  int mLayer = 0;
  std::vector<std::vector<TWindow*>> mLayers;
};
