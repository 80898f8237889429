// The start-up line measurement's target on the running display: a 1024 x 512 render-target
// texture that the platform's 2-D line drawing goes into, read back through its lock.
#pragma once

#include <memory>

#include "tvlib/render/TVecDrawOutput.h"

class TTexture;

class TTextureLineTarget : public TLineMeasureTarget {
 public:
  bool Begin() override;
  bool End(TLockedPixels& pixels) override;
  void Unlock() override;

 private:
  std::shared_ptr<TTexture> mTexture;
  bool mLocked = false;
};
