// A stand-in for the display under the vector rasteriser: a 1024 x 512 32-bit target that
// draws batches of coverage rows, blending like the rasteriser's own texture output so the two
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
    return [this](std::span<const sd::TRasterCoverageRow> rows) { Draw(rows); };
  }
  void Clear() { std::fill(mPixels.begin(), mPixels.end(), 0); }
  const std::vector<uint8_t>& Pixels() const { return mPixels; }

 private:
  void Draw(std::span<const sd::TRasterCoverageRow> rows) {
    ++drawCalls;
    for (const sd::TRasterCoverageRow& r : rows) {
      if (r.y < 0 || r.y >= kHeight) continue;
      for (int x = std::max(0, r.x0); x < std::min(kWidth, r.x1); ++x) {
        const uint32_t a = (r.colour >> 24) * r.coverage[x - r.x0] >> 4;
        uint8_t* p = &mPixels[(r.y * kWidth + x) * 4];
        for (int k = 0; k < 3; ++k) {
          p[k] =
              static_cast<uint8_t>((p[k] * (255 - a) + ((r.colour >> (8 * k)) & 0xFF) * a) / 255);
        }
      }
    }
  }

  std::vector<uint8_t> mPixels;
};
