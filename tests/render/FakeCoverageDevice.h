// A stand-in for the display under the vector rasteriser: a 1024 x 512 32-bit target that
// draws batches of coverage glyphs, blending like the rasteriser's own texture output so the two
// can be compared pixel for pixel.
#pragma once

#include <algorithm>
#include <vector>

#include "tvlib/render/TVecDrawOutput.h"

class TFakeCoverageDevice {
 public:
  static constexpr int kWidth = 1024, kHeight = 512;

  TFakeCoverageDevice() : mPixels(kWidth * kHeight * 4, 0) {}

  int drawCalls = 0;

  TCoverageDrawer Drawer() {
    return [this](std::span<const sd::TRasterCoverageGlyph> glyphs) { Draw(glyphs); };
  }
  void Clear() { std::fill(mPixels.begin(), mPixels.end(), 0); }
  const std::vector<uint8_t>& Pixels() const { return mPixels; }

 private:
  void Draw(std::span<const sd::TRasterCoverageGlyph> glyphs) {
    ++drawCalls;
    for (const sd::TRasterCoverageGlyph& g : glyphs) {
      const uint8_t* coverage = g.coverage;
      for (uint32_t k = 0; k < g.rowCount; coverage += g.rows[k].count, ++k) {
        const sd::TRasterGlyphRow& r = g.rows[k];
        const int y = g.y + r.row, x0 = g.x + r.x0;
        const uint32_t colour = g.colours[r.slot];
        if (y < 0 || y >= kHeight) continue;
        for (int x = std::max(0, x0); x < std::min(kWidth, x0 + r.count); ++x) {
          const uint32_t a = (colour >> 24) * coverage[x - x0] >> 4;
          uint8_t* p = &mPixels[(y * kWidth + x) * 4];
          for (int c = 0; c < 3; ++c) {
            p[c] =
                static_cast<uint8_t>((p[c] * (255 - a) + ((colour >> (8 * c)) & 0xFF) * a) / 255);
          }
        }
      }
    }
  }

  std::vector<uint8_t> mPixels;
};
