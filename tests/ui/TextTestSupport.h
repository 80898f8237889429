// Fonts and services for the text tests: a face with round metrics (ascent 6, descent 2
// units, so size 10 gives 4 quarter pixels per unit and a baseline 30 quarter pixels down),
// a fallback face with the few characters the first lacks, and text services that keep
// them in a font cache and draw into a canvas.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/render/VecFontBuilder.h"
#include "tvlib/core/TRect.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFont.h"
#include "tvlib/ui/TTextServices.h"

// Letters are 8 units wide boxes (a glyph is its ink); a blank advances 4 units.
inline std::vector<TTestGlyph> RoundGlyphs(std::vector<uint32_t> codes, int16_t advance) {
  std::vector<TTestGlyph> glyphs;
  for (uint32_t code : codes) {
    if (code == ' ') {
      glyphs.push_back({code, 0, 0, 0, 0, 4 * 128, RectProgram(0, 0, 0, 0)});
    } else {
      const float units = advance / 128.0f;
      glyphs.push_back(
          {code, 0, advance, -6 * 128, 2 * 128, advance, RectProgram(0.5f, -6, units - 0.5f, 2)});
    }
  }
  return glyphs;
}

inline std::shared_ptr<TVecFont> MakeRoundFont() {
  std::vector<uint32_t> codes = {' '};
  for (uint32_t c = 'A'; c <= 'Z'; ++c) codes.push_back(c);
  for (uint32_t c = 'a'; c <= 'z'; ++c) codes.push_back(c);
  codes.insert(codes.begin() + 1, {'<', '>', '\\'});
  std::sort(codes.begin(), codes.end());
  auto font = std::make_shared<TVecFont>();
  font->Load(BuildFontImage(RoundGlyphs(codes, 8 * 128)));
  return font;
}

// The fallback: "W" (for the same metrics), U+00E9 and U+263A, 12 units wide.
inline std::shared_ptr<TVecFont> MakeFallbackFont() {
  auto font = std::make_shared<TVecFont>();
  font->Load(BuildFontImage(RoundGlyphs({'W', 0xE9, 0x263A}, 12 * 128)));
  return font;
}

class TTestTextServices : public TTextServices {
 public:
  TTestTextServices() {
    fonts["round"] = MakeRoundFont();
    fonts["fonts/default.mvec"] = MakeFallbackFont();
    SetTextServices(this);
  }
  ~TTestTextServices() override { SetTextServices(nullptr); }

  TFontCache* GetFontCache() override { return &fonts; }
  TTvMiniVecDraw* GetTextRasteriser() override { return &draw; }
  bool GetDisplayScale(float* scale) const override {
    *scale = displayScale;
    return embedded;
  }

  TFontCache fonts;
  TTvMiniVecDraw draw;
  float displayScale = 1.0f;
  bool embedded = false;
};

struct TTestCanvas {
  int width, height;
  std::vector<uint8_t> pixels;
  TTestCanvas(int w, int h) : width(w), height(h), pixels(w * h * 4, 0) {}
  TLockedPixels Lock() { return {pixels.data(), width * 4, width, height}; }
  uint32_t Rgb(int x, int y) const {
    const uint8_t* p = &pixels[(y * width + x) * 4];
    return p[2] << 16 | p[1] << 8 | p[0];
  }
  // The box of pixels that are not black: left, top, right, bottom (inclusive); -1s if none.
  TRect Inked() const {
    TRect box{-1, -1, -1, -1};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (Rgb(x, y) == 0) continue;
        if (box.left < 0 || x < box.left) box.left = x;
        if (box.top < 0) box.top = y;
        box.right = std::max(box.right, x);
        box.bottom = y;
      }
    }
    return box;
  }
};
