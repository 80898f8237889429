// Fuzz target: a ".mvec" font image loaded, measured and every glyph rasterised into a small
// target, so a damaged file can neither be read out of bounds nor drive the rasteriser out
// of its arrays; and every glyph swept both ways (edge flags from its points, the sorted walk
// from its program), which must give the same rows and coverage.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFont.h"

namespace {

// A glyph's rows and coverage, flattened.
struct TFlatRows : TVecCoverageSink {
  std::vector<int> rows;
  std::vector<uint8_t> coverage;
  void Rows(std::span<const TCoverageRow> out, const uint8_t* bytes) override {
    for (const TCoverageRow& r : out) {
      rows.insert(rows.end(), {r.x0, r.row, r.count, r.slot});
      coverage.insert(coverage.end(), bytes + r.offset, bytes + r.offset + r.count);
    }
  }
  void DefineColour(int, uint8_t, uint8_t, uint8_t, bool) override {}
};

void CompareSweeps(const TVecFont& font, size_t size) {
  TVecTransform transform;
  transform.scaleX = transform.scaleY = 0.05f + static_cast<float>(size % 97) / 8;
  transform.italic = (size & 2) != 0;
  if ((size & 4) != 0) {
    transform.cosAngle = 0.6f;
    transform.sinAngle = -0.8f;
  }
  TVecSweep flags, walk;
  walk.UseEdgeFlags(false);
  for (int glyph = 0; glyph < font.GetGlyphCount() && glyph < 64; ++glyph) {
    const TOutlineRef outline = font.GetGlyphOutline(glyph);
    TFlatRows fast, sorted;
    const int phase = glyph & 3;
    flags.Fill(outline.bytes.data(), outline.points, transform, phase, 3 - phase, fast);
    walk.Fill(outline.bytes.data(), nullptr, transform, phase, 3 - phase, sorted);
    if (fast.rows != sorted.rows || fast.coverage != sorted.coverage) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TVecFont font;
  font.Load(std::vector<uint8_t>(data, data + size));
  const float white[4] = {1, 1, 1, 1};
  TTvMiniVecDraw draw;
  draw.SetColor(1, white, 1.0f);
  draw.scaleX = draw.scaleY = 0.5f;
  draw.strokeWidth[0] = font.GetGlyphCount() & 1 ? 1.0f : 0.0f;
  std::vector<uint8_t> pixels(64 * 64 * 4);
  const TLockedPixels target{pixels.data(), 64 * 4, 64, 64};
  draw.BeginDraw(8, 48, &target);
  float pen = 0;
  for (int glyph = 0; glyph < font.GetGlyphCount() && glyph < 64; ++glyph) {
    draw.FillOutline(font.GetGlyphOutline(glyph), pen, 0);
    pen += font.GetGlyphAdvance(glyph) * draw.scaleX * font.GetGlyphScale(glyph);
  }
  draw.EndDraw();
  CompareSweeps(font, size);
  font.FindGlyph(static_cast<uint32_t>(size));
  return 0;
}
