// The anti-aliased vector rasteriser: fills glyph outlines (and simple paths) with 4 x 4
// sub-pixel coverage and draws each pixel row with its coverage (0-16 per pixel), either as
// batches of coverage glyphs through the display or blended straight into a locked 32-bit target.
// Rows are cached per glyph, quarter-pixel phase and transform, so a repeated glyph is only
// replayed.
//
// Needs: a coverage drawer for the display output (TVecDrawOutput.h). Without a drawer, display
// output is dropped. Limits: pixels more than 1600 from a glyph's origin are not drawn; the
// glyph cache is capped (TGlyphRunCache.h).
// Use: BeginDraw (origin, optional target), FillOutline per glyph, EndDraw.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tvlib/render/TGlyphRunCache.h"
#include "tvlib/render/TVecDrawOutput.h"
#include "tvlib/render/TVecSweep.h"

class TTexture;

class TTvMiniVecDraw : private TVecCoverageSink {
 public:
  // Glyphs handed to the display at a time.
  static constexpr int kBatchSize = 256;

  explicit TTvMiniVecDraw(TCoverageDrawer drawer = {},
                          size_t cacheCapBytes = TGlyphRunCache::kDefaultCapBytes);
  TTvMiniVecDraw(const TTvMiniVecDraw&) = delete;
  TTvMiniVecDraw& operator=(const TTvMiniVecDraw&) = delete;

  // Colour index 0-255 from red, green, blue, alpha in 0..1; the alpha is scaled by
  // alphaScale. Sets the colour's slot for every row drawn afterwards.
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
  // Hands the pending glyphs to the display (glyphs into a target are written at once).
  void Flush();
  // Flush, and lets go of the target (unlocking a texture target).
  void EndDraw();
  // The target's pixel as 0xRRGGBB; 0 outside it or without a target.
  uint32_t GetPixel(int x, int y) const;

  const TGlyphRunCache& GetCache() const { return mCache; }

  // Set by the text renderer between glyphs: quarter pixels per outline unit, rotation
  // (used when the sine is not 0), stroke half-widths in pixels, shear.
  float scaleX = 1.0f, scaleY = 1.0f;
  float cosAngle = 1.0f, sinAngle = 0.0f;
  float strokeWidth[2] = {0.0f, 0.0f};
  uint8_t italic = 0;
  // With a target: 1 writes each covered pixel's colour (alpha weighted by its coverage), 0
  // blends it over the pixel.
  uint8_t replaceTarget = 0;
  // 1: pixels at least half covered are drawn whole and the others not at all (no
  // anti-aliasing); 0: coverage shades the edges.
  uint8_t flatShading = 0;

 private:
  // Coverage bytes of flat-shaded glyphs waiting in the batch (a larger glyph grows the scratch).
  static constexpr size_t kFlatBytes = 1 << 16;

  // Sets the colour of the colour's slot.
  void SetColourBytes(int colourIndex, uint32_t rgb, uint32_t alpha);
  // Pixels [x0, x0 + count) of row y, weighted by their coverage, written into the target,
  // clipped to it.
  void WriteRow(int x0, int y, const uint8_t* coverage, int count, uint32_t colour);
  void Rows(std::span<const TCoverageRow> rows, const uint8_t* coverage) override;
  // Draws the glyph's rows at mGlyphX, mGlyphY in the current colours (with flat shading,
  // the pixels at least half covered, whole).
  void DrawGlyph(const TCachedGlyph& glyph);
  // The glyph's coverage thresholded into the scratch (flushing first when the scratch is full).
  const uint8_t* FlatCoverage(const TCachedGlyph& glyph);
  void DefineColour(int index, uint8_t red, uint8_t green, uint8_t blue, bool opaque) override;

  TCoverageDrawer mDrawer;
  uint32_t mSlotColours[4] = {};  // alpha in the top byte, then red, green, blue

  TVecSweep mSweep;
  TGlyphRunCache mCache;

  // Glyphs waiting for the display. Their rows point into the cache (which keeps still until the
  // next glyph is recorded: a miss flushes first), their coverage into the cache or into
  // mFlatCoverage.
  sd::TRasterCoverageGlyph mBatch[kBatchSize];
  int mCount = 0;
  std::vector<uint8_t> mFlatCoverage = std::vector<uint8_t>(kFlatBytes + sd::kCoverageReadSlack);
  size_t mFlatUsed = 0;

  int mOriginX = 0, mOriginY = 0;
  int mPhaseX = 0, mPhaseY = 0;
  int mGlyphX = 0, mGlyphY = 0;  // whole-pixel origin of the glyph being drawn
  TLockedPixels mTarget;
  std::shared_ptr<TTexture> mTargetTexture;  // locked into mTarget while set
  std::shared_ptr<void> mTargetOwner;
  bool mDeclined = false;  // the last BeginDraw declined: FillOutline draws nothing
};
