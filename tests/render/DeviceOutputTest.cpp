// The vector rasteriser on the software rendering device: glyphs drawn as device coverage glyphs
// land exactly where the rasteriser's direct target writes put them. This is the wiring the
// display uses: a coverage drawer calling the device, a render target read back.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/render/RenderTestUtil.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFontSource.h"

namespace {

using namespace sd;
using namespace sd::test;

// Without blending the device writes each covered pixel's colour as it is, as the target output
// does with replaceTarget set: the two must agree on every byte.
TEST(TTvMiniVecDrawOnDevice, DeviceCoverageMatchesTargetWrites) {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  TRenderRig rig{1024, 512, 0};
  TTvMiniVecDraw draw([&rig](std::span<const TRasterCoverageGlyph> glyphs) {
    EXPECT_EQ(rig.device->DrawCoverage(glyphs.data(), static_cast<uint32_t>(glyphs.size())), kOk);
  });
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  const float white[4] = {1, 1, 1, 1};
  draw.SetColor(1, white, 1.0f);
  draw.replaceTarget = 1;

  std::vector<uint8_t> pixels(1024 * 512 * 4);
  const TLockedPixels target{pixels.data(), 1024 * 4, 1024, 512};
  for (const TLockedPixels* output : {static_cast<const TLockedPixels*>(nullptr), &target}) {
    draw.scaleX = draw.scaleY = 4 * 31.0f / 192;
    draw.BeginDraw(20.5f, 60.25f, output);
    float pen = 0;
    for (const char* c = "Jolly quiz"; *c; ++c) {
      const int glyph = font->FindGlyph(static_cast<uint8_t>(*c));
      draw.FillOutline(font->GetGlyphData(glyph), pen, 0);
      pen += font->GetGlyphAdvance(glyph) * draw.scaleX;
    }
    draw.EndDraw();
  }
  int lit = 0;
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 1024; ++x) {
      uint32_t expected;
      std::memcpy(&expected, &pixels[(y * 1024 + x) * 4], 4);
      ASSERT_EQ(rig.At(x, y), expected) << x << "," << y;
      lit += expected != 0;
    }
  }
  EXPECT_GT(lit, 1000);
}

}  // namespace
