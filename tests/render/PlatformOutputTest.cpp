// The rasteriser's display output through the platform: batches of spans handed to the
// display handler.
#include <gtest/gtest.h>

#include "tests/platform/PlatformFixture.h"
#include "tests/render/VecFontBuilder.h"
#include "tvlib/render/TTvMiniVecDraw.h"

namespace {

class TSpanCapturingHandler : public TRecordingDisplayHandler {
 public:
  void DrawSpans(std::span<const sd::TRasterSpan> spans) override {
    Note("DrawSpans(" + std::to_string(spans.size()) + ")");
    captured.assign(spans.begin(), spans.end());
  }
  std::vector<sd::TRasterSpan> captured;
};

class VecDrawPlatformTest : public PlatformTest {
 protected:
  VecDrawPlatformTest() {
    mHandler = new TSpanCapturingHandler;
    mPlatform->SetDisplayHandler(mHandler);
  }
  TSpanCapturingHandler* mHandler;
};

TEST_F(VecDrawPlatformTest, RunsReachTheDisplayAsOneBatchOfSpans) {
  TTvMiniVecDraw draw(PlatformSpanDrawer());
  const float white[4] = {1, 1, 1, 1};
  draw.SetColor(1, white, 1.0f);
  draw.scaleX = draw.scaleY = 4;
  const std::vector<uint8_t> square = RectProgram(0, 0, 3, 3);
  auto drawSquare = [&] {
    draw.BeginDraw(10.5f, 20, nullptr);
    draw.FillOutline(square.data(), 0, 0);
    draw.EndDraw();
  };
  drawSquare();  // outside a scene: dropped
  ASSERT_TRUE(mPlatform->Begin2d());
  drawSquare();
  mPlatform->End2d();
  // Three rows of a half, two full and a half pixel: nine runs.
  EXPECT_EQ(mHandler->mCalls, (Calls{"Begin2d", "DrawSpans(9)", "End2d"}));
  ASSERT_EQ(mHandler->captured.size(), 9u);
  const sd::TRasterSpan first = mHandler->captured[0], second = mHandler->captured[1];
  EXPECT_EQ(first.x0, 10);
  EXPECT_EQ(first.x1, 11);
  EXPECT_EQ(first.y, 20);
  EXPECT_EQ(first.colour, 0x7FFFFFFFu);  // coverage 8 of 16
  EXPECT_EQ(second.x0, 11);
  EXPECT_EQ(second.x1, 13);
  EXPECT_EQ(second.colour, 0xFFFFFFFFu);
}

}  // namespace
