// The anti-aliased vector rasteriser: fills glyph outlines (and simple paths) with 4 x 4
// sub-pixel coverage and draws each pixel row as runs of equal coverage, either as a line
// list through the display or straight into a locked 32-bit target. Runs are cached per
// glyph, quarter-pixel phase and transform, so a repeated glyph is only replayed.
//
// Needs: a line drawer for the display output, and for Init a measurement target
// (TVecDrawOutput.h). Without a drawer, display output is dropped. Limits: pixels more than
// 1600 from a glyph's origin are not drawn; the glyph cache is capped (TGlyphRunCache.h).
// Use: BeginDraw (origin, optional target), FillOutline per glyph, EndDraw.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/render/TGlyphRunCache.h"
#include "tvlib/render/TVecDrawOutput.h"
#include "tvlib/render/TVecSweep.h"

class TTexture;

class TTvMiniVecDraw : private TVecRunSink {
 public:
  static constexpr int kBatchSize = 256;
  static constexpr int kShortBatchSize = 64;

  explicit TTvMiniVecDraw(TLineListDrawer drawer = {},
                          size_t cacheCapBytes = TGlyphRunCache::kDefaultCapBytes);
  TTvMiniVecDraw(const TTvMiniVecDraw&) = delete;
  TTvMiniVecDraw& operator=(const TTvMiniVecDraw&) = delete;

  // Measures where the display puts its lines and sets the line offsets (and the batch
  // size) to match; false when the measurement target could not be used.
  bool Init(TLineMeasureTarget& target);

  // Colour index 0-255 from red, green, blue, alpha in 0..1; the alpha is scaled by
  // alphaScale. Sets the colour's slot for every run drawn afterwards.
  void SetColor(int colourIndex, const float rgba[4], float alphaScale);
  // Starts drawing at pixel (x, y) into target (null: the display), which the caller keeps
  // locked until EndDraw or a BeginDraw with another target; `owner` (the target's keeper,
  // may be null) is held until then. Declines (false, and nothing is drawn until the next
  // BeginDraw) an origin that is not a number or lies beyond any target.
  bool BeginDraw(float x, float y, const TLockedPixels* target, std::shared_ptr<void> owner = {});
  // The same into a texture: locks it until EndDraw or a BeginDraw with another target.
  // A texture that cannot be locked is logged and drawing goes to nothing.
  bool BeginDraw(float x, float y, const std::shared_ptr<TTexture>& target);
  // Fills an outline program placed (x, y) quarter pixels from the BeginDraw origin.
  void FillOutline(const uint8_t* outline, float x, float y);
  // The same for a program already measured and hashed (a font's glyph).
  void FillOutline(const TOutlineRef& outline, float x, float y);
  // Hands the pending line vertices to the display (runs into a target are written at once).
  void Flush();
  // Flush, and lets go of the target (unlocking a texture target).
  void EndDraw();
  // The target's pixel as 0xRRGGBB; 0 outside it or without a target.
  uint32_t GetPixel(int x, int y) const;

  int GetBatchSize() const { return mBatchSize; }
  const TGlyphRunCache& GetCache() const { return mCache; }

  // Set by the text renderer between glyphs: quarter pixels per outline unit, rotation
  // (used when the sine is not 0), stroke half-widths in pixels, shear.
  float scaleX = 1.0f, scaleY = 1.0f;
  float cosAngle = 1.0f, sinAngle = 0.0f;
  float strokeWidth[2] = {0.0f, 0.0f};
  uint8_t italic = 0;
  // With a target: 1 writes the run colour, 0 blends it over the pixel.
  uint8_t replaceTarget = 0;
  // 1: pixels at least half covered are drawn whole and the others not at all (no
  // anti-aliasing); 0: coverage shades the edges.
  uint8_t flatShading = 0;
  // Added to a run's start x, end x and row when making line vertices (set by Init; until
  // then the values that suit most drivers).
  float startOffsetX = -0.75f, endOffsetX = -0.75f, offsetY = 0.25f;

 private:
  // A run of quarter columns [x1, x2] on a quarter row, drawn with the edge colours.
  // Fills the colour's edge colours and its slot's coverage colours.
  void SetColourBytes(int colourIndex, uint32_t rgb, uint32_t alpha);
  void DirectRun(int x1, int x2, int quarterRow, int colourIndex);
  void AddLine(int x0, int x1, int row, uint32_t colour);
  // Pixels [x0, x1) of row written into the target, clipped to it.
  void WriteSpan(int x0, int x1, int row, uint32_t colour);
  void Runs(std::span<const TGlyphRun> runs) override;
  // Draws runs of the glyph at mGlyphX, mGlyphY in the current colours.
  void DrawRuns(std::span<const TGlyphRun> runs);
  // The same without anti-aliasing.
  void DrawFlatRuns(std::span<const TGlyphRun> runs);
  void DefineColour(int index, uint8_t red, uint8_t green, uint8_t blue, bool opaque) override;
  // Draws the measurement pattern and reads it back; false when the target fails.
  bool MeasureLines(TLineMeasureTarget& target, int& best, int& dark);

  TLineListDrawer mDrawer;
  uint32_t mEdgeColours[256][4] = {};
  uint32_t mCoverageColours[4][32] = {};

  TVecSweep mSweep;
  TGlyphRunCache mCache;

  TLineVertex mBatch[kBatchSize];
  int mCount = 0;
  int mBatchSize = kBatchSize;

  int mOriginX = 0, mOriginY = 0;
  int mPhaseX = 0, mPhaseY = 0;
  int mGlyphX = 0, mGlyphY = 0;  // whole-pixel origin of the glyph being drawn
  TLockedPixels mTarget;
  std::shared_ptr<TTexture> mTargetTexture;  // locked into mTarget while set
  std::shared_ptr<void> mTargetOwner;
  bool mDeclined = false;  // the last BeginDraw declined: FillOutline draws nothing
};
