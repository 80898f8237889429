// The nine anchor modes by which room sprites are placed: which point of the picture the
// given position names. Right and bottom anchors take the last pixel column and row
// (w - 1, h - 1); the centre anchors take half the size without rounding.
#pragma once

#include "tvlib/core/TVec.h"

enum TRoomAnchor {
  kAnchorTopLeft = 0,
  kAnchorTopRight = 1,
  kAnchorBottomLeft = 2,
  kAnchorBottomRight = 3,
  kAnchorLeftMiddle = 4,
  kAnchorRightMiddle = 5,
  kAnchorTopCentre = 6,
  kAnchorBottomCentre = 7,
  kAnchorCentre = 8,
};

// Anchor argument meaning "the anchor the sprite keeps".
inline constexpr int kStoredAnchor = -1;

// The top-left corner of a w x h picture whose anchor point is (x, y); `current` for an
// anchor outside 0..8.
TVec2 AnchorTopLeft(float x, float y, int w, int h, int anchor, TVec2 current);

// A room co-ordinate truncated toward zero, kept inside the int range (NaN gives 0).
int TruncateToInt(float v);
