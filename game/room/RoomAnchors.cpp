// The anchor rule of room sprites.
#include "game/room/RoomAnchors.h"

TVec2 AnchorTopLeft(float x, float y, int w, int h, int anchor, TVec2 current) {
  const float right = x - static_cast<float>(w - 1);
  const float bottom = y - static_cast<float>(h - 1);
  const float centreX = x - static_cast<float>(w) * 0.5f;
  const float middleY = y - static_cast<float>(h) * 0.5f;
  switch (anchor) {
    case kAnchorTopLeft:
      return TVec2(x, y);
    case kAnchorTopRight:
      return TVec2(right, y);
    case kAnchorBottomLeft:
      return TVec2(x, bottom);
    case kAnchorBottomRight:
      return TVec2(right, bottom);
    case kAnchorLeftMiddle:
      return TVec2(x, middleY);
    case kAnchorRightMiddle:
      return TVec2(right, middleY);
    case kAnchorTopCentre:
      return TVec2(centreX, y);
    case kAnchorBottomCentre:
      return TVec2(centreX, bottom);
    case kAnchorCentre:
      return TVec2(centreX, middleY);
    default:
      return current;
  }
}

int TruncateToInt(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return 2147483520;
  if (v <= -2147483520.0f) return -2147483520;
  return static_cast<int>(v);
}
