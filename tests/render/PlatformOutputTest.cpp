// The rasteriser's display output through the platform: batches of coverage glyphs handed to the
// display handler.
#include <gtest/gtest.h>

#include "tests/app/PlatformFixture.h"
#include "tests/render/VecFontBuilder.h"
#include "tvlib/render/TTvMiniVecDraw.h"

namespace {

class TCoverageCapturingHandler : public TRecordingDisplayHandler {
 public:
  void DrawCoverage(std::span<const sd::TRasterCoverageGlyph> glyphs) override {
    Note("DrawCoverage(" + std::to_string(glyphs.size()) + ")");
    captured.assign(glyphs.begin(), glyphs.end());
    for (const sd::TRasterCoverageGlyph& g : glyphs) {
      const uint8_t* bytes = g.coverage;
      for (const sd::TRasterGlyphRow& r : std::span(g.rows, g.rowCount)) {
        rows.push_back(r);
        coverage.emplace_back(bytes, bytes + r.count);
        bytes += r.count;
      }
    }
  }
  std::vector<sd::TRasterCoverageGlyph> captured;
  // Each glyph's rows and each row's coverage, copied while they are valid.
  std::vector<sd::TRasterGlyphRow> rows;
  std::vector<std::vector<uint8_t>> coverage;
};

class VecDrawPlatformTest : public PlatformTest {
 protected:
  VecDrawPlatformTest() {
    mHandler = new TCoverageCapturingHandler;
    mPlatform->SetDisplayHandler(mHandler);
  }
  TCoverageCapturingHandler* mHandler;
};

TEST_F(VecDrawPlatformTest, GlyphsReachTheDisplayAsOneBatch) {
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
  // One glyph at (10, 20) in white, boxed by its three rows of a half, two full and a half
  // pixel.
  EXPECT_EQ(mHandler->mCalls, (Calls{"Begin2d", "DrawCoverage(1)", "End2d"}));
  ASSERT_EQ(mHandler->captured.size(), 1u);
  const sd::TRasterCoverageGlyph& g = mHandler->captured[0];
  EXPECT_EQ(g.x, 10);
  EXPECT_EQ(g.y, 20);
  const sd::TRasterGlyphBox& box = g.box;
  EXPECT_EQ((std::vector<int>{box.left, box.top, box.right, box.bottom}),
            (std::vector<int>{0, 0, 4, 3}));
  ASSERT_EQ(mHandler->rows.size(), 3u);
  for (int row = 0; row < 3; ++row) {
    const sd::TRasterGlyphRow& r = mHandler->rows[row];
    EXPECT_EQ(r.x0, 0);
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.row, row);
    EXPECT_EQ(g.colours[r.slot], 0xFFFFFFFFu);
    EXPECT_EQ(mHandler->coverage[row], (std::vector<uint8_t>{8, 16, 16, 8}));
  }
}

}  // namespace
