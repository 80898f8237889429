// Integer rectangle for dirty regions and hit tests. Edges are inclusive.
#pragma once

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;

  bool Contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
  void SetUnion(const TRect& a, const TRect& b);
  // No emptiness test: a disjoint pair gives an inverted rectangle, which callers check.
  void SetIntersection(const TRect& a, const TRect& b);
};
