// A stand-in for the display under the vector rasteriser: a 1024 x 512 32-bit target that
// draws line lists the way the software device does (pixel centres on integers: pixel i of
// row floor(y + 0.5) is lit when x0 <= i < x1), blending like the rasteriser's own texture
// output so the two can be compared pixel for pixel. It can also refuse long batches, as
// some drivers did.
#pragma once

#include <cmath>
#include <vector>

#include "tvlib/render/TVecDrawOutput.h"

class TFakeLineDevice : public TLineMeasureTarget {
 public:
  static constexpr int kWidth = 1024, kHeight = 512;

  TFakeLineDevice() : mPixels(kWidth * kHeight * 4, 0) {}

  // Vertex sets longer than this draw nothing.
  int maxVertices = 1 << 30;
  int drawCalls = 0;
  // False: the measurement target cannot be made.
  bool available = true;

  TLineListDrawer Drawer() {
    return [this](const TVertexSet& set) { Draw(set); };
  }
  TLockedPixels Lock() { return {mPixels.data(), kWidth * 4, kWidth, kHeight}; }
  void Clear() { std::fill(mPixels.begin(), mPixels.end(), 0); }
  uint8_t Alpha(int x, int y) const { return mPixels[(y * kWidth + x) * 4 + 3]; }

  bool Begin() override {
    if (!available) return false;
    Clear();
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 800; ++x) mPixels[(y * kWidth + x) * 4 + 3] = 255;
    }
    return true;
  }
  bool End(TLockedPixels& pixels) override {
    pixels = Lock();
    return true;
  }
  void Unlock() override {}

  const std::vector<uint8_t>& Pixels() const { return mPixels; }

 private:
  void Draw(const TVertexSet& set) {
    ++drawCalls;
    if (set.GetFormat() != kVertexScreen || set.GetCount() > maxVertices) return;
    const auto* v = static_cast<const TLineVertex*>(set.GetVertices());
    for (int i = 0; i + 1 < set.GetCount(); i += 2) {
      const int row = static_cast<int>(std::floor(v[i].y + 0.5f));
      if (row < 0 || row >= kHeight) continue;
      const uint32_t c = v[i].diffuse;
      const uint32_t a = c >> 24;
      for (int x = std::max(0, int(std::ceil(v[i].x))); x < kWidth && x < v[i + 1].x; ++x) {
        uint8_t* p = &mPixels[(row * kWidth + x) * 4];
        for (int k = 0; k < 3; ++k) {
          p[k] = static_cast<uint8_t>((p[k] * (255 - a) + ((c >> (8 * k)) & 0xFF) * a) / 255);
        }
      }
    }
  }

  std::vector<uint8_t> mPixels;
};
