// The coordinate codes of window scripts, one axis at a time. A position above 106,666 is
// measured back from the parent's far edge (kMax - n), one above 40,000 centres the window
// (kCenter + n), a negative one counts from the far edge; a negative size extends the window
// back from its position, and a size above 80,000 (kMax - n) fills to the far edge less n.
#pragma once

// Alignment of one axis: the window's position is its centre or its far edge.
inline constexpr int kPlaceNear = 0;
inline constexpr int kPlaceCentre = 1;
inline constexpr int kPlaceFar = 2;

// Codes and sizes beyond this magnitude are cut to it, so that no sum overflows.
inline constexpr int kPlacementLimit = 10000000;

// A position code resolved against a parent extent, for a window of `size`.
int ResolvePositionCode(int position, int size, int parentExtent);

// Applies the alignment, then (with a parent extent; null: no parent) resolves the position
// and size codes of one axis in place.
void ResolveAxis(int align, const int* parentExtent, int* position, int* size);
