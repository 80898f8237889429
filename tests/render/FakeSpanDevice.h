// A stand-in for the display under the vector rasteriser: a 1024 x 512 32-bit target that
// draws span batches, blending like the rasteriser's own texture output so the two can be
// compared pixel for pixel.
#pragma once

#include <algorithm>
#include <vector>

#include "tvlib/render/TVecDrawOutput.h"

class TFakeSpanDevice {
 public:
  static constexpr int kWidth = 1024, kHeight = 512;

  TFakeSpanDevice() : mPixels(kWidth * kHeight * 4, 0) {}

  int drawCalls = 0;

  TSpanDrawer Drawer() {
    return [this](std::span<const sd::TRasterSpan> spans) { Draw(spans); };
  }
  void Clear() { std::fill(mPixels.begin(), mPixels.end(), 0); }
  const std::vector<uint8_t>& Pixels() const { return mPixels; }

 private:
  void Draw(std::span<const sd::TRasterSpan> spans) {
    ++drawCalls;
    for (const sd::TRasterSpan& s : spans) {
      if (s.y < 0 || s.y >= kHeight) continue;
      const uint32_t a = s.colour >> 24;
      for (int x = std::max(0, s.x0); x < std::min(kWidth, s.x1); ++x) {
        uint8_t* p = &mPixels[(s.y * kWidth + x) * 4];
        for (int k = 0; k < 3; ++k) {
          p[k] =
              static_cast<uint8_t>((p[k] * (255 - a) + ((s.colour >> (8 * k)) & 0xFF) * a) / 255);
        }
      }
    }
  }

  std::vector<uint8_t> mPixels;
};
