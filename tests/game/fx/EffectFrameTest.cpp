// Whole frames through the real display handler on the headless presenter: a point effect
// (particles from an effect script around a point, and a sprite) and a text effect with an
// outline, drawn by the effect list, against a committed reference image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/fx/TEffectParams.h"
#include "game/fx/TSpecialEffectList.h"
#include "tests/render/DisplayFixture.h"
#include "tests/render/ReferenceFrame.h"
#include "tvlib/media/TParticleRandom.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

class EffectFrameTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    MakeHandler();
    platform->InitDisplay(kWidth, kHeight, false);  // the display and the text rasteriser
    ParticleRandom::SetSeedForTests(5489u);
  }
  void TearDown() override {
    list.Clear();
    ParticleRandom::SetSeedForTests(std::nullopt);
    DisplayTest::TearDown();
  }
  void PutImage(const std::string& name, int w, int h, uint32_t rgba) {
    const std::filesystem::path path = dir.Path() / "assets" / name;
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(WritePng(path.string(), SolidRgba(w, h, rgba)));
    Mount();
  }
  // The frame: a grey floor with the list drawn over it.
  void DrawFrame() {
    ASSERT_TRUE(platform->BeginFrame(false));
    ASSERT_TRUE(platform->Begin2d());
    platform->FillRect(0, 0, kWidth, kHeight, TColor32(0xFF404040u), nullptr);
    list.Draw(1.0f);
    platform->End2d();
    platform->EndFrame(false);
  }

  TSpecialEffectList list;
};

TEST_F(EffectFrameTest, APointEffectAndATextEffectDrawTheReferenceFrame) {
  PutImage("fx/dot.png", 4, 4, 0xF0C040FFu);
  PutImage("fx/flash.png", 10, 10, 0xFFFFFFFFu);
  // The point effect: eight particles scattered about the point, a flash over it.
  const std::string point =
      "sfx_list = { "
      "  { type = 'particles', position = 'fromgame', particles_script = [["
      "      function Init() SetTexture('fx/dot') SetBlendMode(kBlendNormal, 0) "
      "        SetNumParticles(8) InitPosition('vRange', Vec3(-14, -14, 0), Vec3(14, 14, 0)) "
      "        CreateParticles(8) end "
      "      function Update(ms) end ]] }, "
      "  { type = 'sprite', position = 'fromgame', texture_name = 'fx/flash', "
      "    start_scale = 'fromgame', rotation = 45 } }";
  TEffectParams atPoint;
  atPoint.position = TVec2(40, 60);
  atPoint.startScale = 1.5f;
  list.LoadFromMemory(point.data(), point.size(), &atPoint);
  // The text effect: the caller's text in an outline, centred on its point.
  const std::string text =
      "sfx_list = { { type = 'text', position = { x = 112, y = 60 }, font_size = 28, "
      "  color = { r = 0.9, g = 0.7, b = 0.3 }, outline = 'fromgame', duration = 2, "
      "  start_scale = 1, end_scale = 1 } }";
  TEffectParams caption;
  caption.text = "Yes!";
  caption.outlineSize = 2;
  caption.outlineColor[0] = 0.3f;
  caption.outlineColor[1] = 0.2f;
  caption.outlineColor[2] = 0.15f;
  list.LoadFromMemory(text.data(), text.size(), &caption);
  ASSERT_EQ(list.GetCount(), 3);

  DrawFrame();
  const char* reference = TV_TEST_DATA "/game/fx_point_and_text.png";
  const int differing = CountDifferingPixels(reference, kWidth, kHeight, 2, BackBuffer());
  if (differing != 0) {
    WriteFramePng("fx_point_and_text.actual.png", kWidth, kHeight, BackBuffer());
    FAIL() << differing << " pixels differ from " << reference
           << "; see fx_point_and_text.actual.png in the test folder";
  }
}

}  // namespace
