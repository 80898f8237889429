// The rasteriser's display output through the platform: batches of coverage rows handed to the
// display handler.
#include <gtest/gtest.h>

#include "tests/platform/PlatformFixture.h"
#include "tests/render/VecFontBuilder.h"
#include "tvlib/render/TTvMiniVecDraw.h"

namespace {

class TCoverageCapturingHandler : public TRecordingDisplayHandler {
 public:
  void DrawCoverage(std::span<const sd::TRasterCoverageRow> rows) override {
    Note("DrawCoverage(" + std::to_string(rows.size()) + ")");
    captured.assign(rows.begin(), rows.end());
    for (const sd::TRasterCoverageRow& r : rows)
      coverage.emplace_back(r.coverage, r.coverage + (r.x1 - r.x0));
  }
  std::vector<sd::TRasterCoverageRow> captured;
  std::vector<std::vector<uint8_t>> coverage;  // each row's, copied while it is valid
};

class VecDrawPlatformTest : public PlatformTest {
 protected:
  VecDrawPlatformTest() {
    mHandler = new TCoverageCapturingHandler;
    mPlatform->SetDisplayHandler(mHandler);
  }
  TCoverageCapturingHandler* mHandler;
};

TEST_F(VecDrawPlatformTest, RowsReachTheDisplayAsOneBatch) {
  TTvMiniVecDraw draw(PlatformCoverageDrawer());
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
  // Three rows of a half, two full and a half pixel.
  EXPECT_EQ(mHandler->mCalls, (Calls{"Begin2d", "DrawCoverage(3)", "End2d"}));
  ASSERT_EQ(mHandler->captured.size(), 3u);
  for (int row = 0; row < 3; ++row) {
    const sd::TRasterCoverageRow& r = mHandler->captured[row];
    EXPECT_EQ(r.x0, 10);
    EXPECT_EQ(r.x1, 14);
    EXPECT_EQ(r.y, 20 + row);
    EXPECT_EQ(r.colour, 0xFFFFFFFFu);
    EXPECT_EQ(mHandler->coverage[row], (std::vector<uint8_t>{8, 16, 16, 8}));
  }
}

}  // namespace
