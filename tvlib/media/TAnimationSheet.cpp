// Fitting an animation's frames to the sheet they are cut from.
#include <algorithm>

#include "tvlib/media/TAnimation.h"

namespace {

// Clamps and notes whether anything changed.
void Fit(int32_t* value, int32_t low, int32_t high, bool* fitted) {
  const int32_t clamped = std::clamp(*value, low, std::max(low, high));
  if (clamped != *value) *fitted = false;
  *value = clamped;
}

}  // namespace

bool FitAnimationToSheet(TAnimation* animation, int32_t width, int32_t height) {
  bool fitted = true;
  width = std::max(width, 0);
  height = std::max(height, 0);
  animation->maxWidth = animation->maxHeight = 0;
  for (TAnimFrame& frame : animation->frames) {
    Fit(&frame.x, 0, width, &fitted);
    Fit(&frame.y, 0, height, &fitted);
    Fit(&frame.width, 0, width - frame.x, &fitted);
    Fit(&frame.height, 0, height - frame.y, &fitted);
    Fit(&frame.regX, -kMaxAnimOffset, kMaxAnimOffset, &fitted);
    Fit(&frame.regY, -kMaxAnimOffset, kMaxAnimOffset, &fitted);
    for (TAnimAnchor& anchor : frame.anchors) {
      Fit(&anchor.x, -kMaxAnimOffset, kMaxAnimOffset, &fitted);
      Fit(&anchor.y, -kMaxAnimOffset, kMaxAnimOffset, &fitted);
    }
    animation->maxWidth = std::max(animation->maxWidth, frame.width);
    animation->maxHeight = std::max(animation->maxHeight, frame.height);
  }
  Fit(&animation->regX, -kMaxAnimOffset, kMaxAnimOffset, &fitted);
  Fit(&animation->regY, -kMaxAnimOffset, kMaxAnimOffset, &fitted);
  Fit(&animation->width, 0, kMaxAnimOffset, &fitted);
  Fit(&animation->height, 0, kMaxAnimOffset, &fitted);
  return fitted;
}
