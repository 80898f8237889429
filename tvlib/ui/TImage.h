// The window that shows one texture times a scale (a screen's bitmap, a dialog's picture). It
// sizes itself to the scaled texture and redraws only the part of the texture under its
// dirty rectangle.
#pragma once

#include <memory>

#include "tvlib/ui/TWindow.h"

class TTexture;

class TImage : public TWindow {
 public:
  // layer: the image is drawn in the render-target pass (kWindowLayer).
  explicit TImage(bool layer = false);

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Keeps the texture (a null one keeps the window's size and draws nothing) and sizes the
  // window to width x scale + 0.5 by height x scale + 0.5, truncated.
  void SetTexture(std::shared_ptr<TTexture> texture, float scale);
  const std::shared_ptr<TTexture>& GetTexture() const { return mTexture; }
  float GetScale() const { return mScale; }
  void Draw() override;

 private:
  // Draws the texture under `area` (local coordinates) with the window's origin at (x, y).
  void DrawPart(float x, float y, const TRect& area);

  std::shared_ptr<TTexture> mTexture;
  float mScale = 1.0f;
};
