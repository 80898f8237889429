// Integer rectangle operations.
#include "tvlib/core/TRect.h"

#include <algorithm>

void TRect::SetUnion(const TRect& a, const TRect& b) {
  *this = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
           std::max(a.bottom, b.bottom)};
}

void TRect::SetIntersection(const TRect& a, const TRect& b) {
  *this = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
}
