// The root window at the bottom of the modal stack, covering the display: it fills its dirty
// area with a colour when asked and copies the window manager's render target (when there is
// one) onto the display. Invalidations stop here.
#pragma once

#include "tvlib/ui/TModalWindow.h"

class TScreen : public TModalWindow {
 public:
  TScreen();

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // The colour (red, green, blue, alpha in 0..1) the dirty area is filled with; off: none.
  void SetFill(bool fill, const float colour[4]);
  void Draw() override;

 private:
  bool mFill = false;
  float mFillColor[4] = {};
};
