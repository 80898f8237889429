// The sweep's two ways of counting a plain glyph, edge flags and the sorted edge walk, give
// the same rows and coverage bytes: every glyph of the built-in and the packed fonts under
// a table of placements, and the shapes and transforms at the edges of the flag grid.
#include "tvlib/render/TVecSweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "tests/render/VecFontBuilder.h"
#include "tests/support/MountedGameFolder.h"
#include "tvlib/render/TGlyphRunCache.h"
#include "tvlib/render/TVecFont.h"
#include "tvlib/render/TVecFontSource.h"

namespace {

// A glyph's output: its rows and each row's coverage bytes.
struct TCapturedGlyph : TVecCoverageSink {
  struct TRow {
    int x0, row, slot;
    std::vector<uint8_t> coverage;
    bool operator==(const TRow&) const = default;
  };
  std::vector<TRow> rows;
  void Rows(std::span<const TCoverageRow> out, const uint8_t* coverage) override {
    for (const TCoverageRow& r : out) {
      rows.push_back({r.x0, r.row, r.slot,
                      std::vector<uint8_t>(coverage + r.offset, coverage + r.offset + r.count)});
    }
  }
  void DefineColour(int, uint8_t, uint8_t, uint8_t, bool) override {}
};

std::string Describe(const std::vector<TCapturedGlyph::TRow>& rows) {
  std::string text;
  for (const TCapturedGlyph::TRow& r : rows) {
    text += "row " + std::to_string(r.row) + " x0 " + std::to_string(r.x0) + ":";
    for (uint8_t c : r.coverage) text += " " + std::to_string(c);
    text += "\n";
  }
  return text;
}

// Sweeps a program both ways, flags from the points when given and the walk from the bare
// program; true when it was counted from edge flags. With points, the walk from them too.
struct TBothWays {
  TVecSweep flags, walk;
  TBothWays() { walk.UseEdgeFlags(false); }
  bool Compare(const uint8_t* program, const TVecGlyphPoints* points,
               const TVecTransform& transform, int phaseX, int phaseY, const std::string& what) {
    TCapturedGlyph fast, sorted;
    flags.Fill(program, points, transform, phaseX, phaseY, fast);
    const bool counted = flags.WasFlagCounted();
    walk.Fill(program, nullptr, transform, phaseX, phaseY, sorted);
    EXPECT_EQ(fast.rows, sorted.rows)
        << what << " phase " << phaseX << "," << phaseY << "\nflags:\n"
        << Describe(fast.rows) << "walk:\n"
        << Describe(sorted.rows);
    if (points) {
      TCapturedGlyph walked;
      walk.Fill(program, points, transform, phaseX, phaseY, walked);
      EXPECT_EQ(walked.rows, sorted.rows) << what << " walked from its points";
    }
    return counted;
  }
};

TVecTransform Placement(float size, bool italic, float degrees, float stretch = 1.0f) {
  TVecTransform t;
  t.scaleX = 4 * size / 192 * stretch;
  t.scaleY = 4 * size / 192;
  t.cosAngle = std::cos(degrees * std::numbers::pi_v<float> / 180);
  t.sinAngle = degrees == 0 ? 0.0f : std::sin(degrees * std::numbers::pi_v<float> / 180);
  t.italic = italic;
  return t;
}

// Every glyph of the font at every placement of the table; returns how many fills were
// counted from flags.
int CompareFont(const TVecFont& font, const std::string& name) {
  struct TCase {
    float size;
    bool italic;
    float degrees, stretch;
  };
  const TCase cases[] = {{7, false, 0, 1},   {12, false, 0, 1},   {24, true, 0, 1},
                         {48, false, 0, 1},  {17, false, 30, 1},  {33, true, -75, 1.3f},
                         {150, false, 0, 1}, {9, true, 180, 0.6f}};
  const int phases[][2] = {{0, 0}, {1, 3}, {2, 1}, {3, 2}};
  TBothWays sweeps;
  int counted = 0;
  for (const TCase& c : cases) {
    const TVecTransform transform = Placement(c.size, c.italic, c.degrees, c.stretch);
    for (int glyph = 0; glyph < font.GetGlyphCount(); ++glyph) {
      for (const auto& phase : phases) {
        const TOutlineRef outline = font.GetGlyphOutline(glyph);
        counted += sweeps.Compare(
            outline.bytes.data(), outline.points, transform, phase[0], phase[1],
            name + " glyph " + std::to_string(glyph) + " size " + std::to_string(c.size));
      }
    }
  }
  return counted;
}

TEST(TVecSweep, EdgeFlagsMatchTheWalkOnTheBuiltinFont) {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  const int counted = CompareFont(*font, "builtin");
  // Plain glyphs are counted from flags (not all: blank glyphs have no edges).
  EXPECT_GT(counted, font->GetGlyphCount() * 8 * 4 * 3 / 4);
}

TEST(TVecSweep, EdgeFlagsMatchTheWalkOnThePackedFonts) {
  TMountedGameFolder game;
  for (const char* name : kPackedFontNames) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFontFile(name, bytes)) << name;
    TVecFont font;
    ASSERT_TRUE(font.Load(bytes)) << name;
    EXPECT_GT(CompareFont(font, name), 0) << name;
  }
}

// Shapes at the edges of the grid: the 1600-pixel limit on every side, edges without height
// or shorter than a quarter scanline, contours left open (a scanline crossed an odd number
// of times), overlapping contours, huge and degenerate transforms.
TEST(TVecSweep, EdgeFlagsMatchTheWalkAtTheirLimits) {
  struct TCase {
    const char* what;
    std::vector<uint8_t> program;
    TVecTransform transform;
    bool flagged;  // whether flags can count it
  };
  auto scaled = [](float s, float sx = 0) {
    TVecTransform t;
    t.scaleX = sx != 0 ? sx : s;
    t.scaleY = s;
    return t;
  };
  const std::vector<uint8_t> open = TProgramBuilder()
                                        .Byte(kOpLeftColour, 1)
                                        .Point(kOpMove, 0, 0)
                                        .Point(kOpLine, 10, 9)
                                        .Point(kOpLine, 3, 14)
                                        .End();
  // No move first: the outline starts at the origin.
  const std::vector<uint8_t> drawnFromOrigin = TProgramBuilder()
                                                   .Byte(kOpLeftColour, 1)
                                                   .Point(kOpLine, 10, -3)
                                                   .Curve(12, 8, 2, 9)
                                                   .Point(kOpLine, 0, 0)
                                                   .Point(kOpMove, 3, 1)
                                                   .Point(kOpLine, 6, 4)
                                                   .Point(kOpLine, 3, 5)
                                                   .Point(kOpLine, 3, 1)
                                                   .End();
  const std::vector<uint8_t> overlapping = TProgramBuilder()
                                               .Byte(kOpLeftColour, 1)
                                               .Rect(0, 0, 10, 10)
                                               .Rect(5, 5, 15, 15)
                                               .Polygon({{2, 1}, {9, 3}, {4, 12}})
                                               .Rect(6, 6, 6, 9)
                                               .End();
  const std::vector<uint8_t> flat =
      TProgramBuilder()
          .Byte(kOpLeftColour, 1)
          .Polygon({{0, 0}, {5, 0}, {5, 0.1f}, {9, 0.1f}, {9, 0.12f}, {12, 0.12f}, {12, 3}, {0, 3}})
          .Polygon({{20, 0}, {30, 0.01f}, {20, 0.02f}})
          .End();
  const std::vector<uint8_t> curved = TProgramBuilder()
                                          .Byte(kOpLeftColour, 1)
                                          .Point(kOpMove, -256, 255)
                                          .Curve(255, -256, 0, 0)
                                          .Curve(-200, 100, -256, 255)
                                          .End();
  TVecTransform extreme = scaled(40, 0.01f);
  extreme.cosAngle = 0.6f;
  extreme.sinAngle = 0.8f;
  extreme.italic = true;
  TVecTransform rotatedHuge = scaled(1e30f);
  rotatedHuge.cosAngle = rotatedHuge.sinAngle = 0.7f;
  const TCase cases[] = {
      // 10 pixels a unit: thin bars reaching past the limit on each side.
      {"right limit", RectProgram(155, 3, 170, 4), scaled(40), true},
      {"left limit", RectProgram(-170.3f, 3, -155, 4), scaled(40), true},
      {"bottom limit", RectProgram(3, 155, 4.1f, 170), scaled(40), true},
      {"top limit", RectProgram(3, -170, 4, -155.6f), scaled(40), true},
      {"on the right limit", RectProgram(159.9f, 3, 160.05f, 4), scaled(40), true},
      {"beyond the limit", RectProgram(170, 0, 250, 10), scaled(40), true},
      {"larger than the grid", RectProgram(-250, -250, 250, 250), scaled(40), false},
      {"open contour", open, scaled(4), false},
      {"drawn from the origin", drawnFromOrigin, scaled(4.7f), true},
      {"overlapping contours", overlapping, scaled(4.3f), true},
      {"flat and thin edges", flat, scaled(4), true},
      {"huge scale", curved, scaled(1e6f), false},
      {"huge rotated scale", curved, rotatedHuge, false},
      {"tiny scale", curved, scaled(1e-6f, 40), false},  // no edges
      {"squashed rotated italic", curved, extreme, false},
      {"zero scale", curved, scaled(0), false},  // no edges
      {"not a number", curved, scaled(std::nanf("")), false},
  };
  TBothWays sweeps;
  for (const TCase& c : cases) {
    // From the program, and from its points as a font would cut them.
    const TVecGlyphPoints points = TVecGlyphPoints::Of(c.program.data());
    for (int phase = 0; phase < 4; ++phase) {
      const bool counted =
          sweeps.Compare(c.program.data(), nullptr, c.transform, phase, 3 - phase, c.what);
      EXPECT_EQ(counted, c.flagged) << c.what << " phase " << phase;
      sweeps.Compare(c.program.data(), &points, c.transform, phase, 3 - phase, c.what);
    }
  }
}

// Colours and layers leave the flags alone; strokes too.
TEST(TVecSweep, OnlyPlainGlyphsAreCountedFromFlags) {
  const std::vector<uint8_t> layered = TProgramBuilder()
                                           .Colour(200, 0, 0)
                                           .Byte(kOpLeftColour, 1)
                                           .Rect(0, 0, 10, 10)
                                           .Op(kOpNewGroup)
                                           .Colour(0, 200, 0)
                                           .Byte(kOpLeftColour, 1)
                                           .Rect(3, 3, 6, 6)
                                           .End();
  const std::vector<uint8_t> plain = RectProgram(0, 0, 10, 10);
  TVecTransform stroked;
  stroked.scaleX = stroked.scaleY = 4;
  stroked.strokeWidth[0] = 1.5f;
  TVecTransform bare;
  bare.scaleX = bare.scaleY = 4;
  TBothWays sweeps;
  EXPECT_FALSE(sweeps.Compare(layered.data(), nullptr, bare, 1, 2, "layers"));
  EXPECT_FALSE(sweeps.Compare(plain.data(), nullptr, stroked, 1, 2, "strokes"));
  EXPECT_TRUE(sweeps.Compare(plain.data(), nullptr, bare, 1, 2, "plain"));
}

}  // namespace
