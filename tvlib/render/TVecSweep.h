// The scan conversion under the vector rasteriser: runs an outline program (groups,
// colours, moves, lines, quadratic curves cut into three chords, strokes as pointed bands),
// sweeps its edges on quarter scanlines and counts coverage on a 4 x 4 grid per pixel, and
// hands the glyph out as rows of coverage (0-16 per pixel) per colour slot.
// A plain glyph (one even-odd group in one colour) is counted from edge flags instead:
// every edge toggles one bit per quarter scanline at its rounded quarter column, a running
// XOR along each quarter row gives the covered quarter columns, and the bits of each pixel's
// 4 x 4 block are counted a word at a time. It gives the same rows and bytes as walking the
// sorted edges; glyphs it cannot take exactly (a quarter scanline crossed an odd number of
// times, a grid too large) are walked. A font's plain glyph, whose points were cut when the
// font loaded, goes from its points to the flags without running its program at all.
//
// Sampling: a quarter scanline is sampled through its centre and an edge covers the quarter
// columns left of its rounded x, so a shape aligned to whole pixels covers exactly its own
// pixels. Groups 0 and 1 (strokes) fill by winding, groups 2 and up even-odd; where groups
// overlap the highest one shows. Everything beyond 1600 pixels of the glyph origin, in any
// direction, is cut off; no transform can push an index outside its array.
// Needs nothing but the program bytes; the program must end with its end opcode (the font
// loader checks this), and an unknown opcode ends it too.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tvlib/render/TVecGlyphPoints.h"

// How the outline is placed: quarter pixels per outline unit, rotation, strokes, shear.
struct TVecTransform {
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  float cosAngle = 1.0f;
  float sinAngle = 0.0f;
  float strokeWidth[2] = {0.0f, 0.0f};  // half-widths in pixels; the first 0.0 ends the list
  bool italic = false;
};

// One pixel row of a glyph in one colour slot: the coverage (0-16 sixteenths) of pixels
// [x0, x0 + count) relative to the glyph's whole-pixel origin, stored from `offset` in the
// glyph's coverage bytes. A row's first and last pixels are covered.
struct TCoverageRow {
  int16_t x0, row;
  uint16_t count;
  uint8_t slot;
  uint32_t offset;
};

// Where the sweep's output goes.
class TVecCoverageSink {
 public:
  virtual ~TVecCoverageSink() = default;
  // The rows of the whole glyph, top to bottom, and the coverage bytes they index (once per
  // Fill).
  virtual void Rows(std::span<const TCoverageRow> rows, const uint8_t* coverage) = 0;
  // Opcode 7 and the transparent colour 0 at the start of every program.
  virtual void DefineColour(int index, uint8_t red, uint8_t green, uint8_t blue, bool opaque) = 0;
};

// The coverage slot (0-3) each colour index draws into.
int SlotOfColour(int colour);

class TVecSweep {
 public:
  static constexpr int kPixelLimit = 1600;

  TVecSweep();

  // Runs the program with the glyph placed phaseX, phaseY quarter pixels (0-3) right of and
  // below its whole-pixel origin. `points`, when given, are the program's (made when its
  // font loaded) and stand in for its coordinates and curves.
  void Fill(const uint8_t* program, const TVecGlyphPoints* points, const TVecTransform& transform,
            int phaseX, int phaseY, TVecCoverageSink& sink);

  // The edge pool's capacity (it only grows).
  int GetEdgeCapacity() const { return static_cast<int>(mEdges.capacity()); }

  // Whether plain glyphs are counted from edge flags (the default) or walked as sorted
  // edges like every other glyph; tests compare the two.
  void UseEdgeFlags(bool use) { mUseEdgeFlags = use; }
  // Whether the last Fill counted its glyph from edge flags.
  bool WasFlagCounted() const { return mFlagCounted; }

 private:
  struct TEdge {
    float x0, y0, x1, y1;  // quarter pixels, y0 <= y1
    int top, bottom;       // first and one-past-last quarter scanline it covers
    int next;              // next edge with the same top
    uint8_t colour, group;
  };
  // An edge crossing the current scanline, kept compact for the per-scanline passes.
  struct TActiveEdge {
    float x, step;  // position on the current quarter scanline, change per scanline
    int bottom;
    uint8_t colour, group;
  };
  using TPoint = TVecPoint;
  static constexpr int kCells = 2 * kPixelLimit;

  void RunProgram(const uint8_t* program, const TVecGlyphPoints* points, TVecCoverageSink& sink);
  // Outline units to quarter pixels: shear, scale, rotation.
  TPoint Place(TPoint p) const;
  // A line from the current point (placed: mPlaced) to `to`, with its strokes.
  void Segment(TPoint from, TPoint to);
  void StrokeSegment(TPoint p0, TPoint p1, int stroke);
  // The first quarter scanline at or below y (scanline y is sampled at y + 0.5), cut to the
  // limit: an edge covers the scanlines from its upper point's level to its lower one's.
  static int Level(float y) {
    // The comparisons are ordered so that not-a-number lands on the limit (its edges are
    // dropped; the level only has to be defined); the ceiling needs no library call.
    constexpr float limit = 4 * kPixelLimit;
    float v = y - 0.5f;
    v = v > -limit ? v : -limit;
    v = v < limit ? v : limit;
    const int i = static_cast<int>(v);
    return i + (v > static_cast<float>(i));
  }
  // An edge between placed points on different levels.
  void AddEdge(TPoint p0, int level0, TPoint p1, int level1, uint8_t left, uint8_t right,
               int group);
  // Adds the glyph's rows to mRows and mCoverage, by edge flags where it can.
  void Sweep(int phaseX, int phaseY);
  // Counts a plain glyph's coverage from edge flags, from its edges or straight from the
  // points of a plain glyph; false (rows undefined) where the glyph must be walked instead.
  bool FlagSweep(int phaseX, int phaseY);
  bool PlainSweep(const TVecGlyphPoints& glyph, int phaseX, int phaseY);
  // The flag grid around the given bounds (false when too large), an edge's crossings
  // (false when one falls off the grid or its x is undefined), the rows counted from the
  // grid (false when a quarter row is crossed an odd number of times), and the grid emptied
  // after a failure.
  bool BeginFlags(float minX, float maxX, int minTop, int maxBottom, int phaseX, int phaseY);
  bool ToggleEdge(float x0, float y0, float x1, float y1, int top, int bottom);
  bool CountFlags(int slot);
  void ClearFlags();
  void WalkEdges(int phaseX, int phaseY);
  void WalkScanline();
  void WalkPairs();
  void CloseRun(int start, int end, int slot);
  // Adds the row's coverage per slot to mRows and empties its cells.
  void EmitRow(int row);

  const TVecTransform* mTransform = nullptr;
  uint8_t mLeft = 0, mRight = 0;
  TPoint mPlaced{0, 0};  // the current point, placed, and its level
  int mPlacedLevel = 0;
  int mGroup = 2;
  int mMaxGroup = 0;
  // The colour of every edge while all are in the first fill group with one colour (a plain
  // glyph, walked as pairs of edges); -1 otherwise.
  int mSoleColour = -1;
  bool mFirstEdge = true;
  std::vector<TEdge> mEdges;
  std::vector<int> mBuckets;
  std::vector<TActiveEdge> mActive;
  int mMinTop = 0, mMaxTop = 0, mMaxBottom = 0;
  // Per scanline walk: the colour each group shows, the stroke winding counts.
  uint8_t mGroupColour[256] = {};
  int mWinding[2] = {};
  // Coverage per slot: a difference row of pixel cells (two spare cells take the carries
  // of runs cut at the right limit), dirty flags and the touched range.
  uint8_t mCells[4][kCells + 2] = {};
  bool mDirty[4] = {};
  std::vector<TCoverageRow> mRows;  // the glyph's rows so far
  std::vector<uint8_t> mCoverage;   // and their coverage bytes
  int mLowCell = kCells, mHighCell = -1;
  bool mUseEdgeFlags = true;
  bool mFlagCounted = false;
  // The edge flag grid, quarter rows of 64-bit words, all zero between glyphs: its first
  // quarter column (a whole pixel's) and the span of columns after it, words per quarter
  // row, pixel rows, the glyph's phase; one pixel row's coverage bytes.
  std::vector<uint64_t> mFlags;
  int mColumnLow = 0;
  unsigned mColumnSpan = 0;
  bool mInterior = false;  // the grid touches no limit: columns need no clamp
  size_t mWords = 0, mFlagSize = 0;
  int mFirstRow = 0, mLastRow = 0, mPhaseX = 0, mPhaseY = 0;
  std::vector<uint8_t> mFlagRow;
  // A plain glyph's placed points and their levels.
  std::vector<TPoint> mPlacedPoints;
  std::vector<int> mLevels;
};
