// The points an outline program visits, with its curves cut into their chords, made once
// when a font loads so the sweep of each of its glyphs neither decodes nor cuts them again;
// and whether the glyph is plain (one even-odd layer in one colour), which the sweep counts
// straight from the points. Glyphs drawn from a bare program cut their curves as they go,
// with the same arithmetic.
#pragma once

#include <cstdint>
#include <vector>

#include "tvlib/render/TVecOutline.h"

// A point in outline units.
struct TVecPoint {
  float x, y;
};

// A program's coordinate pair (1/128 units).
inline TVecPoint ReadVecPoint(const uint8_t* p) {
  return {ReadS16(p) / 128.0f, ReadS16(p + 2) / 128.0f};
}

// Point i (1 or 2) of the two that cut the quadratic curve from `from` through control c to
// e into three chords.
inline TVecPoint ChordPoint(TVecPoint from, TVecPoint c, TVecPoint e, int i) {
  const float t = i / 3.0f;
  return {from.x + 2 * t * (c.x - from.x) + t * t * (e.x - 2 * c.x + from.x),
          from.y + 2 * t * (c.y - from.y) + t * t * (e.y - 2 * c.y + from.y)};
}

struct TVecGlyphPoints {
  // Every point the program's moves, lines and curves go to, in order: a curve gives its two
  // chord points and its end.
  std::vector<TVecPoint> points;
  // The indices in `points` the moves go to, ascending.
  std::vector<uint32_t> moves;
  // A plain glyph's colour; 0 for any other (layers, colour definitions, edges without a
  // colour or in several, no edges at all).
  uint8_t plainColour = 0;

  // The points of a program that ends with its end opcode.
  static TVecGlyphPoints Of(const uint8_t* program);
};
