// Fuzz target: a ".mvec" font image loaded, measured and every glyph rasterised into a small
// target, so a damaged file can neither be read out of bounds nor drive the rasteriser out
// of its arrays.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFont.h"

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
    draw.FillOutline(font.GetGlyphData(glyph), pen, 0);
    pen += font.GetGlyphAdvance(glyph) * draw.scaleX * font.GetGlyphScale(glyph);
  }
  draw.EndDraw();
  font.FindGlyph(static_cast<uint32_t>(size));
  return 0;
}
