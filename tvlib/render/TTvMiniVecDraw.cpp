// The anti-aliased vector rasteriser's colours, outputs, glyph cache use and line
// measurement; the scan conversion itself is TVecSweep.
#include "tvlib/render/TTvMiniVecDraw.h"

#include <algorithm>
#include <cmath>

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TTexture.h"

namespace {
constexpr int kMeasureCombinations = 128;
constexpr int kDarkLimit = 75;
// Origins beyond this are as good as off any display and stay exact in float.
constexpr float kOriginLimit = 1 << 24;

int FloorToInt(float v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::floor(std::clamp(v, -kOriginLimit, kOriginLimit)));
}

// A float to a byte, truncated; NaN counts as 0.
uint8_t ToByte(float v) {
  return v > 0 ? static_cast<uint8_t>(std::min(v, 255.0f)) : 0;
}

uint32_t PixelAt(const TLockedPixels& target, int x, int y) {
  if (!target.pixels || x < 0 || y < 0 || x >= target.width || y >= target.height) return 0;
  const uint8_t* p = target.pixels + static_cast<ptrdiff_t>(target.pitch) * y + 4 * x;
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

struct TLineOffsets {
  float startX, endX, y;
};

// The two vertices of the line drawing pixels [x0, x1) of row; only the position and
// colour change from line to line.
void SetLineVertices(TLineVertex* v, int x0, int x1, int row, uint32_t colour,
                     const TLineOffsets& offsets) {
  v[0].x = x0 + offsets.startX;
  v[1].x = x1 + offsets.endX;
  v[0].y = v[1].y = row + offsets.y;
  v[0].diffuse = v[1].diffuse = colour;
}

void OffsetsOfCombination(int k, float& start, float& end, float& y) {
  start = ((k >> 3) & 3) / 4.0f - 1;
  end = (k & 7) / 4.0f - 1;
  y = (k >> 5) / 4.0f;
}
}  // namespace

TTvMiniVecDraw::TTvMiniVecDraw(TLineListDrawer drawer, size_t cacheCapBytes)
    : mDrawer(std::move(drawer)), mCache(cacheCapBytes) {
  for (TLineVertex& v : mBatch) v = {0, 0, 0.1f, 0.5f, 0, 0, 0, 0};
}

void TTvMiniVecDraw::SetColor(int colourIndex, const float rgba[4], float alphaScale) {
  if (colourIndex < 0 || colourIndex > 255) return;
  const uint32_t rgb =
      ToByte(rgba[0] * 255) << 16 | ToByte(rgba[1] * 255) << 8 | ToByte(rgba[2] * 255);
  SetColourBytes(colourIndex, rgb, ToByte(ToByte(rgba[3] * 255) * alphaScale));
}

void TTvMiniVecDraw::SetColourBytes(int colourIndex, uint32_t rgb, uint32_t alpha) {
  static constexpr uint32_t kEdgeShares[4] = {17, 40, 73, 128};
  for (int q = 0; q < 4; ++q)
    mEdgeColours[colourIndex][q] = (alpha * kEdgeShares[q] / 256) << 24 | rgb;
  uint32_t* coverage = mCoverageColours[SlotOfColour(colourIndex)];
  for (uint32_t j = 0; j < 32; ++j) {
    coverage[j] = (j < 16 ? alpha * 16 * (j + 1) / 256 : alpha * 255 / 256) << 24 | rgb;
  }
}

void TTvMiniVecDraw::DefineColour(int index, uint8_t red, uint8_t green, uint8_t blue,
                                  bool opaque) {
  SetColourBytes(index, red << 16 | green << 8 | blue, opaque ? 255 : 0);
}

bool TTvMiniVecDraw::BeginDraw(float x, float y, const TLockedPixels* target,
                               std::shared_ptr<void> owner) {
  mDeclined = !(std::fabs(x) < kOriginLimit && std::fabs(y) < kOriginLimit);
  if (mDeclined) return false;
  // Floors, so that a point left of or above pixel 0 gets the phase it really has.
  mOriginX = FloorToInt(x);
  mOriginY = FloorToInt(y);
  mPhaseX = FloorToInt(x * 4) - 4 * mOriginX;
  mPhaseY = FloorToInt(y * 4) - 4 * mOriginY;
  mPhaseX = std::clamp(mPhaseX, 0, 3);
  mPhaseY = std::clamp(mPhaseY, 0, 3);
  const uint8_t* pixels = target ? target->pixels : nullptr;
  if (pixels != mTarget.pixels) {
    EndDraw();
    if (target) mTarget = *target;
  }
  if (owner) mTargetOwner = std::move(owner);
  return true;
}

void TTvMiniVecDraw::FillOutline(const uint8_t* outline, float x, float y) {
  if (outline) FillOutline(TOutlineRef::Of(outline), x, y);
}

void TTvMiniVecDraw::FillOutline(const TOutlineRef& outline, float x, float y) {
  if (outline.bytes.empty() || mDeclined) return;
  const int qx = FloorToInt(mPhaseX + x);
  const int qy = FloorToInt(mPhaseY + y);
  mGlyphX = mOriginX + (qx >> 2);
  mGlyphY = mOriginY + (qy >> 2);
  TGlyphKey key;
  key.SetOutline(outline);
  key.phaseX = static_cast<uint8_t>(qx & 3);
  key.phaseY = static_cast<uint8_t>(qy & 3);
  key.italic = italic != 0;
  key.scaleX = scaleX;
  key.scaleY = scaleY;
  key.strokeWidth[0] = strokeWidth[0];
  key.strokeWidth[1] = key.strokeWidth[0] != 0.0f ? strokeWidth[1] : 0.0f;
  key.cosAngle = cosAngle;
  key.sinAngle = sinAngle;

  std::span<const TGlyphRun> runs;
  if (mCache.Find(key, runs)) {
    DrawRuns(runs);
    return;
  }
  const TVecTransform transform{
      scaleX, scaleY, cosAngle, sinAngle, {key.strokeWidth[0], key.strokeWidth[1]}, key.italic};
  mCache.BeginGlyph(key);
  mSweep.Fill(outline.bytes.data(), transform, key.phaseX, key.phaseY, *this);
  mCache.EndGlyph();
}

void TTvMiniVecDraw::Runs(std::span<const TGlyphRun> runs) {
  mCache.AddRuns(runs);
  DrawRuns(runs);
}

void TTvMiniVecDraw::DrawFlatRuns(std::span<const TGlyphRun> runs) {
  for (const TGlyphRun& r : runs) {
    if (r.coverageMinusOne >= 7)
      AddLine(mGlyphX + r.x0, mGlyphX + r.x1, mGlyphY + r.row, mCoverageColours[r.slot][15]);
  }
}

void TTvMiniVecDraw::DrawRuns(std::span<const TGlyphRun> runs) {
  if (flatShading) {
    DrawFlatRuns(runs);
    return;
  }
  if (mTarget.pixels) {
    for (const TGlyphRun& r : runs) {
      WriteSpan(mGlyphX + r.x0, mGlyphX + r.x1, mGlyphY + r.row,
                mCoverageColours[r.slot][r.coverageMinusOne]);
    }
    return;
  }
  // The vertices AddLine would make, a batch's worth at a time: the colour stores may alias
  // the count and offsets, so the loop reads them from locals instead of once per run.
  const TLineOffsets offsets{startOffsetX, endOffsetX, offsetY};
  const int glyphX = mGlyphX, glyphY = mGlyphY;
  while (!runs.empty()) {
    const size_t count = std::min(runs.size(), static_cast<size_t>(mBatchSize - mCount) / 2);
    TLineVertex* v = &mBatch[mCount];
    for (const TGlyphRun& r : runs.first(count)) {
      SetLineVertices(v, glyphX + r.x0, glyphX + r.x1, glyphY + r.row,
                      mCoverageColours[r.slot][r.coverageMinusOne], offsets);
      v += 2;
    }
    mCount += 2 * static_cast<int>(count);
    runs = runs.subspan(count);
    if (mCount >= mBatchSize) Flush();
  }
}

void TTvMiniVecDraw::AddLine(int x0, int x1, int row, uint32_t colour) {
  // Into a target the run goes straight away: the same pixels its vertex pair would give.
  if (mTarget.pixels) {
    WriteSpan(x0, x1, row, colour);
    return;
  }
  SetLineVertices(&mBatch[mCount], x0, x1, row, colour, {startOffsetX, endOffsetX, offsetY});
  mCount += 2;
  if (mCount >= mBatchSize) Flush();
}

void TTvMiniVecDraw::Flush() {
  if (mCount == 0) return;
  if (mDrawer) {
    mDrawer(TVertexSet::TVertexSet3(mBatch, mCount));
  }
  mCount = 0;
}

void TTvMiniVecDraw::WriteSpan(int x0, int x1, int row, uint32_t colour) {
  if (row < 0 || row >= mTarget.height) return;
  x0 = std::max(0, x0);
  x1 = std::min(mTarget.width, x1);
  const uint8_t bgra[4] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16),
                           uint8_t(colour >> 24)};
  const uint32_t a = bgra[3];
  uint8_t* p = mTarget.pixels + static_cast<ptrdiff_t>(mTarget.pitch) * row + 4 * x0;
  for (int x = x0; x < x1; ++x, p += 4) {
    if (replaceTarget) {
      std::copy(bgra, bgra + 4, p);
    } else {
      for (int c = 0; c < 3; ++c)
        p[c] = static_cast<uint8_t>((p[c] * (255 - a) + bgra[c] * a) / 255);
    }
  }
}

bool TTvMiniVecDraw::BeginDraw(float x, float y, const std::shared_ptr<TTexture>& target) {
  if (target != mTargetTexture) {
    EndDraw();
    if (target) {
      int width = 0, height = 0;
      if (target->Lock(&mTarget.pixels, &width, &height, &mTarget.pitch)) {
        mTarget.width = width;
        mTarget.height = height;
        mTargetTexture = target;
      } else {
        // An empty target, not the display: the text meant for the texture is dropped.
        static uint8_t nowhere[4];
        mTarget = {nowhere, 0, 0, 0};
        DebugLog("TTvMiniVecDraw::BeginDraw: the target texture cannot be locked");
        return BeginDraw(x, y, &mTarget);
      }
    }
  }
  return BeginDraw(x, y, mTargetTexture ? &mTarget : nullptr);
}

void TTvMiniVecDraw::EndDraw() {
  Flush();
  if (mTargetTexture) mTargetTexture->Unlock();
  mTargetTexture.reset();
  mTarget = {};
  mTargetOwner.reset();
}

uint32_t TTvMiniVecDraw::GetPixel(int x, int y) const {
  return PixelAt(mTarget, x, y);
}

void TTvMiniVecDraw::DirectRun(int x1, int x2, int quarterRow, int colourIndex) {
  if (x2 < x1) return;
  if (mCount + 6 >= mBatchSize) Flush();
  const uint32_t* colours = mEdgeColours[colourIndex];
  const int row = quarterRow >> 2;
  const int p1 = x1 >> 2;
  const int p2 = x2 >> 2;
  if (p1 == p2) {
    AddLine(p1, p1 + 1, row, colours[(x2 & 3) - (x1 & 3)]);
    return;
  }
  int fullStart = p1;
  if ((x1 & 3) != 0) {
    AddLine(p1, p1 + 1, row, colours[3 - (x1 & 3)]);
    ++fullStart;
  }
  // A right end covering the whole pixel joins the full pixels.
  const int fullEnd = (x2 & 3) == 3 ? p2 + 1 : p2;
  if (fullStart < fullEnd) AddLine(fullStart, fullEnd, row, colours[3]);
  if ((x2 & 3) != 3) AddLine(p2, p2 + 1, row, colours[x2 & 3]);
}

bool TTvMiniVecDraw::Init(TLineMeasureTarget& target) {
  for (;;) {
    int best = -1;
    int dark = 0;
    if (!MeasureLines(target, best, dark)) return false;
    if (best >= 0) {
      OffsetsOfCombination(best, startOffsetX, endOffsetX, offsetY);
      return true;
    }
    // The combination that suits most drivers.
    startOffsetX = endOffsetX = -0.75f;
    offsetY = 0.25f;
    // Some drivers draw nothing of a long line list: try again with short batches.
    if (dark <= kDarkLimit || mBatchSize == kShortBatchSize) return true;
    mBatchSize = kShortBatchSize;
  }
}

bool TTvMiniVecDraw::MeasureLines(TLineMeasureTarget& target, int& best, int& dark) {
  if (!target.Begin()) {
    DebugLog("TTvMiniVecDraw::Init: no measurement target");
    return false;
  }
  const float white[4] = {1, 1, 1, 1};
  SetColor(0, white, 1.0f);
  BeginDraw(0, 0, nullptr);
  for (int k = 0; k < kMeasureCombinations; ++k) {
    OffsetsOfCombination(k, startOffsetX, endOffsetX, offsetY);
    DirectRun(4 + 16 * k, 7 + 16 * k, 4, 0);
    DirectRun(8 + 16 * k, 11 + 16 * k, 8, 0);
  }
  EndDraw();
  TLockedPixels pixels;
  if (!target.End(pixels)) {
    DebugLog("TTvMiniVecDraw::Init: the measurement target cannot be read");
    return false;
  }
  uint32_t bestSum = 0;
  for (int k = 0; k < kMeasureCombinations; ++k) {
    const int x = 1 + 4 * k;
    const uint32_t a = PixelAt(pixels, x, 1);
    const uint32_t b = PixelAt(pixels, x + 1, 2);
    const uint32_t around = PixelAt(pixels, x - 1, 1) | PixelAt(pixels, x + 1, 1) |
                            PixelAt(pixels, x, 0) | PixelAt(pixels, x, 2) |
                            PixelAt(pixels, x + 2, 2) | PixelAt(pixels, x + 1, 3);
    if (a != 0 && b != 0 && around == 0 && (best < 0 || a + b > bestSum)) {
      best = k;
      bestSum = a + b;
    }
    if ((a | b | around) == 0) ++dark;
  }
  target.Unlock();
  return true;
}
