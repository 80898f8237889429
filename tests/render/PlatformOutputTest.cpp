// The rasteriser's display output through the platform: untextured line lists of
// screen-space vertices handed to the display handler.
#include <gtest/gtest.h>

#include "tests/platform/PlatformFixture.h"
#include "tests/render/VecFontBuilder.h"
#include "tvlib/render/TTvMiniVecDraw.h"

namespace {

class TLineCapturingHandler : public TRecordingDisplayHandler {
 public:
  void DrawVertices(int primitive, const TVertexSet& vertices) override {
    Note("DrawVertices(" + std::to_string(primitive) + "," + std::to_string(vertices.GetFormat()) +
         "," + std::to_string(vertices.GetCount()) + ")");
  }
};

class VecDrawPlatformTest : public PlatformTest {
 protected:
  VecDrawPlatformTest() {
    mHandler = new TLineCapturingHandler;
    mPlatform->SetDisplayHandler(mHandler);
  }
  TLineCapturingHandler* mHandler;
};

TEST_F(VecDrawPlatformTest, RunsReachTheDisplayAsUntexturedLineLists) {
  ASSERT_TRUE(mPlatform->Begin2d());
  TTvMiniVecDraw draw(PlatformLineDrawer());
  const float white[4] = {1, 1, 1, 1};
  draw.SetColor(1, white, 1.0f);
  draw.scaleX = draw.scaleY = 4;
  const std::vector<uint8_t> square = RectProgram(0, 0, 3, 3);
  draw.BeginDraw(10.5f, 20, nullptr);
  draw.FillOutline(square.data(), 0, 0);
  draw.EndDraw();
  mPlatform->End2d();
  // Three rows of a half, two full and a half pixel: nine runs, eighteen vertices.
  EXPECT_EQ(mHandler->mCalls, (Calls{"Begin2d", "SetTexture", "DrawVertices(2,3,18)", "End2d"}));
}

}  // namespace
