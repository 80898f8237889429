// Resolving window script coordinate codes.
#include "tvlib/ui/TWindowPlacement.h"

namespace {

constexpr int kCenterCode = 80000;
constexpr int kMaxCode = 160000;
constexpr int kFarPositionAbove = 106666;
constexpr int kCenteredPositionAbove = 40000;
constexpr int kFillSizeAbove = 80000;

}  // namespace

int ResolvePositionCode(int position, int size, int parentExtent) {
  if (position > kFarPositionAbove) return position + parentExtent - kMaxCode;
  if (position > kCenteredPositionAbove) {
    return parentExtent / 2 - size / 2 + (position - kCenterCode);
  }
  if (position < 0) return position + parentExtent;
  return position;
}

void ResolveAxis(int align, const int* parentExtent, int* position, int* size) {
  if (align == kPlaceCentre) {
    *position -= *size / 2;
  } else if (align == kPlaceFar) {
    *position -= *size;
  }
  if (parentExtent == nullptr) return;
  const int extent = *parentExtent;
  int p = *position;
  int s = *size;
  bool backward = false;
  if (s < 0) {
    s = -s;
    // Beyond -kMax + 80000 a backward size would leave the parent; it fills like kMax - n.
    backward = s <= kFillSizeAbove;
  }
  if (backward) {
    p = ResolvePositionCode(p, s, extent) - s;
  } else if (s > kFillSizeAbove && p > kCenteredPositionAbove) {
    // A coded position with a filling size: the margin is shared on both sides.
    const int shared = p > kFarPositionAbove ? p + extent - kMaxCode : p - kCenterCode;
    if (shared < 0) {
      s += extent + 2 * shared - kMaxCode;
      p = 0;
    } else {
      s += extent - (2 * shared + kMaxCode);
      p = 2 * shared;
    }
  } else if (s > kFillSizeAbove) {
    p = ResolvePositionCode(p, s, extent);
    s = extent - p - (kMaxCode - s);
  } else {
    p = ResolvePositionCode(p, s, extent);
  }
  *position = p;
  *size = s;
}
