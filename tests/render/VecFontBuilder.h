// Hand-made outline programs and ".mvec" images for the font and rasteriser tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "tvlib/render/TVecOutline.h"

// An outline program built opcode by opcode; coordinates in outline units.
class TProgramBuilder {
 public:
  TProgramBuilder& Op(uint8_t op) {
    mBytes.push_back(op);
    return *this;
  }
  TProgramBuilder& Byte(uint8_t op, uint8_t value) { return Op(op).Raw({value}); }
  TProgramBuilder& Point(uint8_t op, float x, float y) {
    Op(op);
    Coord(x);
    Coord(y);
    return *this;
  }
  TProgramBuilder& Curve(float cx, float cy, float x, float y) {
    Op(kOpCurve);
    Coord(cx);
    Coord(cy);
    Coord(x);
    Coord(y);
    return *this;
  }
  TProgramBuilder& Colour(uint8_t r, uint8_t g, uint8_t b) {
    return Op(kOpDefineColour).Raw({r, g, b});
  }
  // A closed polygon through the points.
  TProgramBuilder& Polygon(std::initializer_list<std::pair<float, float>> points) {
    Point(kOpMove, points.begin()->first, points.begin()->second);
    for (auto it = points.begin() + 1; it != points.end(); ++it)
      Point(kOpLine, it->first, it->second);
    return Point(kOpLine, points.begin()->first, points.begin()->second);
  }
  TProgramBuilder& Rect(float x0, float y0, float x1, float y1) {
    return Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
  }
  TProgramBuilder& Raw(std::initializer_list<uint8_t> bytes) {
    mBytes.insert(mBytes.end(), bytes);
    return *this;
  }
  std::vector<uint8_t> End() {
    Op(kOpEnd);
    return mBytes;
  }

 private:
  void Coord(float v) {
    const auto fixed = static_cast<uint16_t>(static_cast<int16_t>(v * 128));
    mBytes.push_back(static_cast<uint8_t>(fixed & 0xFF));
    mBytes.push_back(static_cast<uint8_t>(fixed >> 8));
  }
  std::vector<uint8_t> mBytes;
};

// A filled rectangle in colour 1, the way converted glyphs are drawn.
inline std::vector<uint8_t> RectProgram(float x0, float y0, float x1, float y1) {
  return TProgramBuilder().Byte(kOpLeftColour, 1).Rect(x0, y0, x1, y1).End();
}

struct TTestGlyph {
  uint32_t code;
  int16_t left, right, top, bottom, advance;  // in 1/128 units
  std::vector<uint8_t> program;
};

inline void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline std::vector<uint8_t> BuildFontImage(const std::vector<TTestGlyph>& glyphs) {
  std::vector<uint8_t> image = {'M', 'V', 'C', '4'};
  PutLE(image, static_cast<uint32_t>(glyphs.size()), 2);
  image.resize(12, 0);
  uint32_t offset = static_cast<uint32_t>(12 + 18 * glyphs.size());
  for (const TTestGlyph& g : glyphs) {
    PutLE(image, g.code, 4);
    for (int16_t v : {g.left, g.right, g.top, g.bottom, g.advance})
      PutLE(image, static_cast<uint16_t>(v), 2);
    PutLE(image, offset, 4);
    offset += static_cast<uint32_t>(g.program.size());
  }
  for (const TTestGlyph& g : glyphs) image.insert(image.end(), g.program.begin(), g.program.end());
  return image;
}
