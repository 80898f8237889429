// The vector rasteriser on the software rendering device: the start-up measurement against
// the device's own line rule, and runs drawn as device lines landing exactly where the
// rasteriser's direct target writes put them. This is the wiring the display will use: a
// line drawer calling the device's line list, a render target locked for reading.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/render/RenderTestUtil.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFontSource.h"

namespace {

using namespace sd;
using namespace sd::test;

class TDeviceLines : public TLineMeasureTarget {
 public:
  TRenderRig rig{1024, 512, 0};

  TLineListDrawer Drawer() {
    return [this](const TVertexSet& lines) {
      rig.device->SetTexture(0, nullptr);
      EXPECT_EQ(rig.device->DrawPrimitive(kPtLineList, kFvfTLVertex, lines.GetVertices(),
                                          static_cast<uint32_t>(lines.GetCount())),
                kOk);
    };
  }
  bool Begin() override {
    const sd::TRect strip{0, 0, 800, 4};
    return rig.device->Clear(0, nullptr, kClearTarget, 0, 1.0f) == kOk &&
           rig.device->Clear(1, &strip, kClearTarget, 0xFF000000, 1.0f) == kOk;
  }
  bool End(TLockedPixels& pixels) override {
    TLocked locked;
    if (rig.target->Lock(nullptr, &locked) != kOk) return false;
    pixels = {locked.bits, locked.pitch, rig.target->Width(), rig.target->Height()};
    return true;
  }
  void Unlock() override { rig.target->Unlock(); }
};

TEST(TTvMiniVecDrawOnDevice, InitMeasuresTheDeviceLineRule) {
  TDeviceLines device;
  TTvMiniVecDraw draw(device.Drawer());
  ASSERT_TRUE(draw.Init(device));
  EXPECT_EQ(draw.startOffsetX, -0.75f);
  EXPECT_EQ(draw.endOffsetX, -0.75f);
  EXPECT_EQ(draw.offsetY, 0.0f);
  EXPECT_EQ(draw.GetBatchSize(), TTvMiniVecDraw::kBatchSize);
}

// Without blending the device writes each run's colour as it is, as the target output does
// with replaceTarget set: the two must agree on every byte.
TEST(TTvMiniVecDrawOnDevice, DeviceLinesMatchTargetWrites) {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  TDeviceLines device;
  TTvMiniVecDraw draw(device.Drawer());
  ASSERT_TRUE(draw.Init(device));
  device.rig.device->Clear(0, nullptr, kClearTarget, 0, 1.0f);
  device.rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
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
      ASSERT_EQ(device.rig.At(x, y), expected) << x << "," << y;
      lit += expected != 0;
    }
  }
  EXPECT_GT(lit, 1000);
}

}  // namespace
