// The vector rasteriser: coverage, fill rules, the glyph cache, the limits, the two outputs,
// and a word of the built-in font against its reference.
#include "tvlib/render/TTvMiniVecDraw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "tests/render/FakeCoverageDevice.h"
#include "tests/render/VecFontBuilder.h"
#include "tvlib/render/TVecFont.h"
#include "tvlib/render/TVecFontSource.h"

namespace {

constexpr float kWhite[4] = {1, 1, 1, 1};
constexpr float kRed[4] = {1, 0, 0, 1};
constexpr float kGreen[4] = {0, 1, 0, 1};

struct TCanvas {
  int width, height;
  std::vector<uint8_t> pixels;
  TCanvas(int w, int h) : width(w), height(h), pixels(w * h * 4, 0) {}
  TLockedPixels Lock() { return {pixels.data(), width * 4, width, height}; }
  uint8_t Alpha(int x, int y) const { return pixels[(y * width + x) * 4 + 3]; }
  uint32_t Rgb(int x, int y) const {
    const uint8_t* p = &pixels[(y * width + x) * 4];
    return p[2] << 16 | p[1] << 8 | p[0];
  }
};

// Draws one program with 1 outline unit = 1 pixel, writing colours (alpha included) as they
// are, so a pixel's alpha is its coverage.
void Fill(TTvMiniVecDraw& draw, TCanvas& canvas, const std::vector<uint8_t>& program, float x,
          float y) {
  draw.scaleX = draw.scaleY = 4;
  draw.replaceTarget = 1;
  TLockedPixels target = canvas.Lock();
  draw.BeginDraw(x, y, &target);
  draw.FillOutline(program.data(), 0, 0);
  draw.EndDraw();
}

TEST(TTvMiniVecDraw, SquareCoverageFollowsSubPixelPosition) {
  const std::vector<uint8_t> square = RectProgram(0, 0, 4, 4);
  struct TCase {
    float x, y;
    int column[6];  // alpha of pixels 9-14 of row 11
    int row[6];     // alpha of rows 9-14 in column 11
  };
  // Coverage c of 16 gives alpha 255 * c / 16 (truncated).
  const TCase cases[] = {
      {10, 10, {0, 255, 255, 255, 255, 0}, {0, 255, 255, 255, 255, 0}},
      {10.5f, 10, {0, 127, 255, 255, 255, 127}, {0, 255, 255, 255, 255, 0}},
      {10, 10.25f, {0, 255, 255, 255, 255, 0}, {0, 191, 255, 255, 255, 63}},
      {9.75f, 10, {63, 255, 255, 255, 191, 0}, {0, 255, 255, 255, 255, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    TTvMiniVecDraw draw;
    draw.SetColor(1, kWhite, 1.0f);
    TCanvas canvas(32, 32);
    Fill(draw, canvas, square, c.x, c.y);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(canvas.Alpha(9 + i, 11), c.column[i]) << "column " << 9 + i;
      EXPECT_EQ(canvas.Alpha(11, 9 + i), c.row[i]) << "row " << 9 + i;
    }
  }
}

TEST(TTvMiniVecDraw, CoverageScalesTheColourAlpha) {
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 0.5f);  // alpha 127
  TCanvas canvas(16, 16);
  // A quarter pixel square: coverage 1 gives 16/256 of the alpha; a full pixel all of it.
  Fill(draw, canvas, RectProgram(0, 0, 0.25f, 0.25f), 2, 2);
  Fill(draw, canvas, RectProgram(0, 0, 1, 1), 4, 2);
  EXPECT_EQ(canvas.Alpha(2, 2), 127 * 16 / 256);
  EXPECT_EQ(canvas.Alpha(4, 2), 127);
  // Out-of-range and NaN parts are clamped, not wrapped.
  const float wild[4] = {2.0f, -1.0f, std::nanf(""), 0.9f};
  draw.SetColor(1, wild, 7.0f);
  Fill(draw, canvas, RectProgram(0, 0, 1, 1), 6, 2);
  EXPECT_EQ(canvas.Rgb(6, 2), 0xFF0000u);
  EXPECT_EQ(canvas.Alpha(6, 2), 255);

  // While drawing, the target's pixels can be read back (colour only); outside it, 0.
  TLockedPixels target = canvas.Lock();
  draw.BeginDraw(0, 0, &target);
  EXPECT_EQ(draw.GetPixel(4, 2), 0xFFFFFFu);
  EXPECT_EQ(draw.GetPixel(3, 2), 0u);
  EXPECT_EQ(draw.GetPixel(-1, 2), 0u);
  EXPECT_EQ(draw.GetPixel(16, 2), 0u);
  draw.EndDraw();
  EXPECT_EQ(draw.GetPixel(4, 2), 0u);
}

TEST(TTvMiniVecDraw, TargetWritesClipAtEveryEdge) {
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  TCanvas canvas(4, 3);
  Fill(draw, canvas, RectProgram(0, 0, 9, 9), -2.5f, -2.5f);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.Alpha(x, y), 255);
  }
}

// An origin that is not a number or lies beyond any target is declined: nothing is drawn
// until the next BeginDraw. The target's owner is held until drawing ends.
TEST(TTvMiniVecDraw, BeginDrawDeclinesLostOriginsAndHoldsTheOwner) {
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  draw.scaleX = draw.scaleY = 4;
  TCanvas canvas(8, 8);
  TLockedPixels target = canvas.Lock();
  auto owner = std::make_shared<int>(1);
  const std::vector<uint8_t> square = RectProgram(0, 0, 4, 4);
  for (float bad : {std::nanf(""), 1e30f, -1e30f}) {
    EXPECT_FALSE(draw.BeginDraw(bad, 0, &target, owner));
    draw.FillOutline(square.data(), 0, 0);
  }
  EXPECT_TRUE(draw.BeginDraw(2, 2, &target, owner));
  EXPECT_EQ(canvas.Rgb(2, 2), 0u);
  EXPECT_GT(owner.use_count(), 1);
  draw.FillOutline(square.data(), 0, 0);
  draw.EndDraw();
  EXPECT_EQ(owner.use_count(), 1);
  EXPECT_EQ(canvas.Rgb(2, 2), 0xFFFFFFu);
}

// Flat shading draws pixels at least half covered whole and leaves the rest.
TEST(TTvMiniVecDraw, FlatShadingDrawsNoPartialPixels) {
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  draw.flatShading = 1;
  TCanvas canvas(8, 8);
  Fill(draw, canvas, RectProgram(0, 0, 2.5f, 1.25f), 1, 1);
  EXPECT_EQ(canvas.Alpha(1, 1), 255);
  EXPECT_EQ(canvas.Alpha(2, 1), 255);
  EXPECT_EQ(canvas.Alpha(3, 1), 255);  // half covered
  EXPECT_EQ(canvas.Alpha(1, 2), 0);    // a quarter covered
}

TEST(TTvMiniVecDraw, GroupsFillEvenOddAndTheHighestShows) {
  // Colour 1 red: a square with a square hole; a new group with colour 2 (green) in the hole's
  // middle and over the red ring's corner.
  const std::vector<uint8_t> program = TProgramBuilder()
                                           .Colour(255, 0, 0)
                                           .Byte(kOpLeftColour, 1)
                                           .Rect(0, 0, 12, 12)
                                           .Rect(3, 3, 9, 9)
                                           .Op(kOpNewGroup)
                                           .Colour(10, 200, 37)
                                           .Byte(kOpLeftColour, 1)
                                           .Rect(5, 5, 7, 7)
                                           .Rect(0, 0, 2, 2)
                                           .End();
  TTvMiniVecDraw draw;
  TCanvas canvas(32, 32);
  Fill(draw, canvas, program, 0, 0);
  EXPECT_EQ(canvas.Rgb(1, 1), 0x0AC825u);  // the new group over the ring
  EXPECT_EQ(canvas.Rgb(2, 6), 0xFF0000u);  // the ring
  EXPECT_EQ(canvas.Alpha(4, 6), 0);        // the hole
  EXPECT_EQ(canvas.Rgb(6, 6), 0x0AC825u);  // the new group in the hole
  EXPECT_EQ(canvas.Alpha(6, 6), 255);
}

TEST(TTvMiniVecDraw, PlainFillsPairTheirCrossingsFromTheLeft) {
  // One colour in one group, filled between pairs of crossings. A lone edge right of a
  // square (an odd crossing count) closes nothing; a second square sharing an edge joins the
  // first; a square inside another is a hole.
  struct TCase {
    std::vector<uint8_t> program;
    int firstLit, endLit;  // lit columns of row 2
  };
  const TCase cases[] = {
      {TProgramBuilder()
           .Byte(kOpLeftColour, 1)
           .Rect(0, 0, 4, 4)
           .Point(kOpMove, 8, 0)
           .Point(kOpLine, 8, 4)
           .End(),
       10, 14},
      {TProgramBuilder().Byte(kOpLeftColour, 1).Rect(0, 0, 4, 4).Rect(4, 0, 6, 4).End(), 10, 16},
      {TProgramBuilder().Byte(kOpLeftColour, 1).Rect(0, 0, 6, 4).Rect(2, 0, 6, 4).End(), 10, 12},
  };
  for (const TCase& c : cases) {
    TTvMiniVecDraw draw;
    draw.SetColor(1, kWhite, 1.0f);
    TCanvas canvas(32, 8);
    Fill(draw, canvas, c.program, 10, 1);
    for (int x = 0; x < 32; ++x) {
      const bool lit = x >= c.firstLit && x < c.endLit;
      EXPECT_EQ(canvas.Alpha(x, 2), lit ? 255 : 0) << c.firstLit << ".." << c.endLit << " x " << x;
    }
  }
}

TEST(TTvMiniVecDraw, StrokesFillByWindingWhereTheirBandsOverlap) {
  // An open path of two segments with no fill colour: only its stroke shows.
  const std::vector<uint8_t> path =
      TProgramBuilder().Point(kOpMove, 2, 2).Point(kOpLine, 10, 2).Point(kOpLine, 10, 10).End();
  TTvMiniVecDraw draw;
  draw.SetColor(255, kGreen, 1.0f);
  draw.strokeWidth[0] = 1;
  TCanvas canvas(32, 32);
  Fill(draw, canvas, path, 0, 0);
  EXPECT_EQ(canvas.Rgb(5, 1), 0x00FF00u);
  EXPECT_EQ(canvas.Alpha(5, 1), 255);
  EXPECT_EQ(canvas.Alpha(5, 2), 255);
  EXPECT_EQ(canvas.Alpha(5, 0), 0);
  EXPECT_EQ(canvas.Alpha(5, 3), 0);
  // Both bands cover this pixel; even-odd would have cleared it.
  EXPECT_EQ(canvas.Alpha(9, 2), 255);
  EXPECT_EQ(canvas.Alpha(10, 5), 255);
}

TEST(TTvMiniVecDraw, CacheReplaysRepeatedGlyphsInTheCurrentColours) {
  const std::vector<uint8_t> program = TProgramBuilder()
                                           .Byte(kOpLeftColour, 1)
                                           .Point(kOpMove, 0, 0)
                                           .Curve(8, 0, 8, 8)
                                           .Point(kOpLine, 0, 8)
                                           .Point(kOpLine, 0, 0)
                                           .End();
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  TCanvas first(32, 32), replay(32, 32), red(32, 32);
  Fill(draw, first, program, 3, 4);
  EXPECT_EQ(draw.GetCache().GetEntryCount(), 1);
  Fill(draw, replay, program, 3, 4);
  EXPECT_EQ(draw.GetCache().GetEntryCount(), 1);
  EXPECT_EQ(first.pixels, replay.pixels);
  // The same phase elsewhere is a replay; another phase is a new glyph.
  Fill(draw, replay, program, 13, 14);
  EXPECT_EQ(draw.GetCache().GetEntryCount(), 1);
  Fill(draw, replay, program, 3.25f, 4);
  EXPECT_EQ(draw.GetCache().GetEntryCount(), 2);
  draw.SetColor(1, kRed, 1.0f);
  Fill(draw, red, program, 3, 4);
  EXPECT_EQ(draw.GetCache().GetEntryCount(), 2);
  EXPECT_EQ(red.Rgb(4, 10), 0xFF0000u);
  EXPECT_EQ(red.Alpha(4, 10), first.Alpha(4, 10));
}

// A font freed and another loaded into the same memory: the cache must see new outlines.
TEST(TTvMiniVecDraw, CacheMatchesOutlinesByContentNotAddress) {
  std::vector<uint8_t> program = RectProgram(0, 0, 0.25f, 0.25f);
  const std::vector<uint8_t> whole = RectProgram(0, 0, 1, 1);
  ASSERT_EQ(program.size(), whole.size());
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  TCanvas canvas(16, 16);
  Fill(draw, canvas, program, 2, 2);
  EXPECT_EQ(canvas.Alpha(2, 2), 255 * 1 / 16);
  std::copy(whole.begin(), whole.end(), program.begin());
  Fill(draw, canvas, program, 4, 2);
  EXPECT_EQ(canvas.Alpha(4, 2), 255);
  EXPECT_EQ(draw.GetCache().GetEntryCount(), 2);
}

TEST(TTvMiniVecDraw, FontReloadedInPlaceNeverReplaysItsOldGlyphs) {
  // Glyphs of a font are matched by identity, not bytes: a font object loaded again (here with
  // a program of the same length at the same place in the image) must draw its new glyph.
  const auto image = [](float side) {
    return BuildFontImage({{65, 0, 1024, -1024, 0, 1024, RectProgram(0, 0, side, side)}});
  };
  TVecFont font;
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  const auto fill = [&](TCanvas& canvas) {
    draw.scaleX = draw.scaleY = 4;
    draw.replaceTarget = 1;
    TLockedPixels target = canvas.Lock();
    draw.BeginDraw(2, 2, &target);
    draw.FillOutline(font.GetGlyphOutline(0), 0, 0);
    draw.EndDraw();
  };
  ASSERT_TRUE(font.Load(image(0.25f)));
  TCanvas first(16, 16);
  fill(first);
  EXPECT_EQ(first.Alpha(2, 2), 255 * 1 / 16);
  ASSERT_TRUE(font.Load(image(1)));
  TCanvas second(16, 16);
  fill(second);
  EXPECT_EQ(second.Alpha(2, 2), 255);
  TCanvas again(16, 16);
  fill(again);
  EXPECT_EQ(again.Alpha(2, 2), 255);
  EXPECT_EQ(draw.GetCache().GetEntryCount(), 2);
}

TEST(TTvMiniVecDraw, CacheIsEmptiedPastItsCap) {
  const std::vector<uint8_t> program = RectProgram(0, 0, 3, 3);
  TTvMiniVecDraw capped({}, 64);
  capped.SetColor(1, kWhite, 1.0f);
  for (int i = 0; i < 8; ++i) {
    TCanvas canvas(16, 16);
    Fill(capped, canvas, program, 2 + i / 4.0f, 2);
    EXPECT_LE(capped.GetCache().GetEntryCount(), 2);
    EXPECT_EQ(canvas.Alpha(4, 3), 255);
  }
}

TEST(TTvMiniVecDraw, ManyEdgesGrowThePool) {
  TProgramBuilder circle;
  circle.Byte(kOpLeftColour, 1).Point(kOpMove, 40, 20);
  constexpr int kSides = 720;
  for (int i = 1; i <= kSides; ++i) {
    const double t = 2 * std::numbers::pi * i / kSides;
    circle.Point(kOpLine, float(20 + 20 * std::cos(t)), float(20 + 20 * std::sin(t)));
  }
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  TCanvas canvas(48, 48);
  Fill(draw, canvas, circle.End(), 2, 2);
  long sum = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) sum += canvas.Alpha(x, y);
  }
  EXPECT_NEAR(sum / 255.0, std::numbers::pi * 400, 4.0);
  EXPECT_EQ(canvas.Alpha(22, 22), 255);
}

// Rows handed to the display, captured: the extent of their pixel ranges [x0, x1) and rows.
struct TCapturedRows {
  int minX = 1 << 30, maxX = -(1 << 30), minRow = 1 << 30, maxRow = -(1 << 30), count = 0;
  TCoverageDrawer Drawer() {
    return [this](std::span<const sd::TRasterCoverageGlyph> glyphs) {
      for (const sd::TRasterCoverageGlyph& g : glyphs) {
        for (const sd::TRasterGlyphRow& r : std::span(g.rows, g.rowCount)) {
          minX = std::min(minX, g.x + r.x0);
          maxX = std::max(maxX, g.x + r.x0 + r.count);
          minRow = std::min(minRow, g.y + r.row);
          maxRow = std::max(maxRow, g.y + r.row);
          ++count;
        }
      }
    };
  }
};

TEST(TTvMiniVecDraw, NothingIsDrawnBeyond1600PixelsOfTheOrigin) {
  TCapturedRows runs;
  TTvMiniVecDraw lines(runs.Drawer());
  lines.SetColor(1, kWhite, 1.0f);
  lines.scaleX = lines.scaleY = 40;  // 10 pixels a unit: the square spans -2500..2500
  const std::vector<uint8_t> big = RectProgram(-250, -250, 250, 250);
  lines.BeginDraw(100, 50, nullptr);
  lines.FillOutline(big.data(), 0, 0);
  lines.EndDraw();
  EXPECT_EQ(runs.minX, 100 - 1600);
  EXPECT_EQ(runs.maxX, 100 + 1600);
  EXPECT_EQ(runs.minRow, 50 - 1600);
  EXPECT_EQ(runs.maxRow, 50 + 1599);

  // Entirely beyond the limit: nothing at all.
  runs = {};
  const std::vector<uint8_t> far = RectProgram(170, 0, 250, 10);
  lines.BeginDraw(0, 0, nullptr);
  lines.FillOutline(far.data(), 0, 0);
  lines.EndDraw();
  EXPECT_EQ(runs.count, 0);
}

TEST(TTvMiniVecDraw, ExtremeTransformsStayInsideTheirArrays) {
  const std::vector<uint8_t> program = TProgramBuilder()
                                           .Byte(kOpLeftColour, 1)
                                           .Rect(-256, -256, 255, 255)
                                           .Point(kOpMove, -256, 255)
                                           .Curve(255, -256, 0, 0)
                                           .End();
  struct TCase {
    float scaleX, scaleY, cosAngle, sinAngle, stroke;
    uint8_t italic;
  };
  const TCase cases[] = {
      {1e6f, 1e6f, 1, 0, 0, 0},         {1e-6f, 40, 1, 0, 3, 1}, {40, 0.01f, 0.6f, 0.8f, 2, 1},
      {1e30f, 1e30f, 0.7f, 0.7f, 1, 0}, {0, 0, 1, 0, 1, 0},      {std::nanf(""), 4, 1, 0, 1, 1},
  };
  for (const TCase& c : cases) {
    TTvMiniVecDraw draw;
    draw.SetColor(1, kWhite, 1.0f);
    draw.scaleX = c.scaleX;
    draw.scaleY = c.scaleY;
    draw.cosAngle = c.cosAngle;
    draw.sinAngle = c.sinAngle;
    draw.strokeWidth[0] = c.stroke;
    draw.italic = c.italic;
    TCanvas canvas(64, 64);
    TLockedPixels target = canvas.Lock();
    draw.BeginDraw(-20.5f, 1e9f, &target);
    draw.FillOutline(program.data(), 3, -7);
    draw.BeginDraw(30, 30, &target);
    draw.FillOutline(program.data(), -1e9f, 2);
    draw.EndDraw();
  }
}

// Lays out a word of the built-in font with its baseline at (x, y), size pixels to the em.
void DrawWord(TTvMiniVecDraw& draw, const TVecFont& font, const char* word, float x, float y,
              float size, const TLockedPixels* target) {
  draw.scaleX = draw.scaleY = 4 * size / 192;
  draw.BeginDraw(x, y, target);
  float pen = 0;
  for (const char* c = word; *c; ++c) {
    const int glyph = font.FindGlyph(static_cast<uint8_t>(*c));
    draw.FillOutline(font.GetGlyphData(glyph), pen, 0);
    pen += font.GetGlyphAdvance(glyph) * draw.scaleX;
  }
  draw.EndDraw();
}

// Also with flat shading, and with a cache emptied at every new glyph (glyphs waiting for the
// display must not point into what it refills); glyphs so large that one outgrows the flat
// scratch are clipped by both outputs.
TEST(TTvMiniVecDraw, DisplayAndTargetOutputsGiveTheSamePixels) {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  struct TWords {
    const char* text;
    float size;
  };
  for (const TWords words : {TWords{"Quick fjord, quick fox", 27}, TWords{"WM", 420}}) {
    for (const size_t cap : {TGlyphRunCache::kDefaultCapBytes, size_t{1}}) {
      for (const uint8_t flat : {0, 1}) {
        TFakeCoverageDevice device;
        TTvMiniVecDraw draw(device.Drawer(), cap);
        draw.SetColor(1, kWhite, 1.0f);
        const float outline[4] = {0.2f, 0.4f, 0.9f, 1.0f};
        draw.SetColor(255, outline, 0.8f);
        draw.strokeWidth[0] = 1.5f;
        draw.flatShading = flat;
        DrawWord(draw, *font, words.text, 10.25f, 40.5f, words.size, nullptr);
        EXPECT_GT(device.drawCalls, 1);

        TCanvas canvas(TFakeCoverageDevice::kWidth, TFakeCoverageDevice::kHeight);
        TLockedPixels target = canvas.Lock();
        DrawWord(draw, *font, words.text, 10.25f, 40.5f, words.size, &target);
        EXPECT_EQ(canvas.pixels, device.Pixels())
            << words.text << " cap " << cap << " flat " << int(flat);
      }
    }
  }
}

// The reference is an 8-bit PGM of the coverage (alpha) of the word.
TEST(TTvMiniVecDraw, BuiltinWordMatchesReferenceImage) {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  TTvMiniVecDraw draw;
  draw.SetColor(1, kWhite, 1.0f);
  draw.replaceTarget = 1;
  TCanvas canvas(160, 40);
  TLockedPixels target = canvas.Lock();
  DrawWord(draw, *font, "Festra Vask", 4, 28, 24, &target);

  std::ostringstream actual;
  actual << "P5\n" << canvas.width << " " << canvas.height << "\n255\n";
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) actual.put(static_cast<char>(canvas.Alpha(x, y)));
  }
  std::ifstream file(TV_TEST_DATA "/render/builtin_word.pgm", std::ios::binary);
  const std::string reference((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
  if (reference != actual.str()) {
    std::ofstream("builtin_word.actual.pgm", std::ios::binary) << actual.str();
    FAIL() << "differs from the reference; see builtin_word.actual.pgm in the test folder";
  }
}

}  // namespace
