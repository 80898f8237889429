// Cutting outline programs into points; see TVecGlyphPoints.h.
#include "tvlib/render/TVecGlyphPoints.h"

TVecGlyphPoints TVecGlyphPoints::Of(const uint8_t* program) {
  TVecGlyphPoints glyph;
  TVecPoint current{0, 0};
  uint8_t left = 0, right = 0;
  int colour = -1;  // the colour of the edges so far; -1 before the first, 0 when not plain
  auto edges = [&] {
    const int c = left != 0 ? left : right;
    colour = colour < 0 || colour == c ? c : 0;
  };
  for (const uint8_t* op = program;; op += VecOpLength(*op)) {
    switch (*op) {
      case kOpNewGroup:
      case kOpDefineColour:
        colour = 0;
        break;
      case kOpLeftColour:
        left = op[1];
        break;
      case kOpRightColour:
        right = op[1];
        break;
      case kOpMove:
        current = ReadVecPoint(op + 1);
        glyph.moves.push_back(static_cast<uint32_t>(glyph.points.size()));
        glyph.points.push_back(current);
        break;
      case kOpLine:
        edges();
        current = ReadVecPoint(op + 1);
        glyph.points.push_back(current);
        break;
      case kOpCurve: {
        edges();
        const TVecPoint c = ReadVecPoint(op + 1);
        const TVecPoint e = ReadVecPoint(op + 5);
        glyph.points.push_back(ChordPoint(current, c, e, 1));
        glyph.points.push_back(ChordPoint(current, c, e, 2));
        glyph.points.push_back(e);
        current = e;
        break;
      }
      default:  // the end opcode, and any byte that is not an opcode
        glyph.plainColour = static_cast<uint8_t>(colour > 0 ? colour : 0);
        return glyph;
    }
  }
}
