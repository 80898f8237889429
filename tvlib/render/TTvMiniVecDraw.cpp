// The anti-aliased vector rasteriser's colours, outputs and glyph cache use; the scan
// conversion itself is TVecSweep.
#include "tvlib/render/TTvMiniVecDraw.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TTexture.h"

namespace {
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

// Blends a colour over n pixels: each of blue, green and red becomes
// (old (255 - a) + new a) / 255, truncated, with the colour's alpha a; the alpha byte stays.
// Two pixels at a time in 16-bit lanes; x / 255 truncated is ((x + 1) 257) >> 16 for every
// x up to 255 * 255.
void BlendOver(uint8_t* p, int n, uint32_t colour) {
  const __m128i zero = _mm_setzero_si128();
  const uint32_t a = colour >> 24;
  const __m128i scaled = _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_set1_epi32(int(colour)), zero),
                                         _mm_set1_epi16(int16_t(a)));
  const __m128i inverse = _mm_set1_epi16(int16_t(255 - a));
  const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
  auto blend = [&](__m128i old) {
    const __m128i sum =
        _mm_add_epi16(scaled, _mm_mullo_epi16(_mm_unpacklo_epi8(old, zero), inverse));
    const __m128i quotient =
        _mm_mulhi_epu16(_mm_add_epi16(sum, _mm_set1_epi16(1)), _mm_set1_epi16(257));
    return _mm_or_si128(_mm_and_si128(old, alpha),
                        _mm_andnot_si128(alpha, _mm_packus_epi16(quotient, quotient)));
  };
  int i = 0;
  for (; i + 2 <= n; i += 2, p += 8) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p),
                     blend(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
  }
  if (i < n) {
    int32_t pixel;
    std::memcpy(&pixel, p, 4);
    pixel = _mm_cvtsi128_si32(blend(_mm_cvtsi32_si128(pixel)));
    std::memcpy(p, &pixel, 4);
  }
}
}  // namespace

TTvMiniVecDraw::TTvMiniVecDraw(TSpanDrawer drawer, size_t cacheCapBytes)
    : mDrawer(std::move(drawer)), mCache(cacheCapBytes) {}

void TTvMiniVecDraw::SetColor(int colourIndex, const float rgba[4], float alphaScale) {
  if (colourIndex < 0 || colourIndex > 255) return;
  const uint32_t rgb =
      ToByte(rgba[0] * 255) << 16 | ToByte(rgba[1] * 255) << 8 | ToByte(rgba[2] * 255);
  SetColourBytes(colourIndex, rgb, ToByte(ToByte(rgba[3] * 255) * alphaScale));
}

void TTvMiniVecDraw::SetColourBytes(int colourIndex, uint32_t rgb, uint32_t alpha) {
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
  mSweep.Fill(outline.bytes.data(), outline.points, transform, key.phaseX, key.phaseY, *this);
  mCache.EndGlyph();
}

void TTvMiniVecDraw::Rows(std::span<const TCoverageRow> rows, const uint8_t* coverage) {
  // Each row as runs of equal coverage.
  mRunScratch.clear();
  for (const TCoverageRow& row : rows) {
    const uint8_t* c = coverage + row.offset;
    for (int i = 0; i < row.count;) {
      int end = i + 1;
      while (end < row.count && c[end] == c[i]) ++end;
      if (c[i] != 0) {
        mRunScratch.push_back(
            {int16_t(row.x0 + i), int16_t(row.x0 + end), row.row, uint8_t(c[i] - 1), row.slot});
      }
      i = end;
    }
  }
  mCache.AddRuns(mRunScratch);
  DrawRuns(mRunScratch);
}

void TTvMiniVecDraw::DrawRuns(std::span<const TGlyphRun> runs) {
  const int glyphX = mGlyphX, glyphY = mGlyphY;
  const bool flat = flatShading != 0;
  if (mTarget.pixels) {
    for (const TGlyphRun& r : runs) {
      if (flat && r.coverageMinusOne < 7) continue;
      const int coverage = flat ? 15 : r.coverageMinusOne;
      WriteSpan(glyphX + r.x0, glyphX + r.x1, glyphY + r.row, mCoverageColours[r.slot][coverage]);
    }
    return;
  }
  // A batch's worth of spans at a time, through locals: stores into the batch could alias the
  // members.
  while (!runs.empty()) {
    const size_t count = std::min(runs.size(), static_cast<size_t>(kBatchSize - mCount));
    sd::TRasterSpan* out = &mBatch[mCount];
    const std::span<const TGlyphRun> part = runs.first(count);
    if (flat) {
      for (const TGlyphRun& r : part) {
        if (r.coverageMinusOne >= 7)
          *out++ = {glyphX + r.x0, glyphX + r.x1, glyphY + r.row, mCoverageColours[r.slot][15]};
      }
    } else {
      for (size_t i = 0; i < count; ++i) {
        const TGlyphRun& r = part[i];
        out[i] = {glyphX + r.x0, glyphX + r.x1, glyphY + r.row,
                  mCoverageColours[r.slot][r.coverageMinusOne]};
      }
      out += count;
    }
    mCount = static_cast<int>(out - mBatch);
    runs = runs.subspan(count);
    if (mCount == kBatchSize) Flush();
  }
}

void TTvMiniVecDraw::Flush() {
  if (mCount == 0) return;
  if (mDrawer) mDrawer(std::span<const sd::TRasterSpan>(mBatch, static_cast<size_t>(mCount)));
  mCount = 0;
}

void TTvMiniVecDraw::WriteSpan(int x0, int x1, int row, uint32_t colour) {
  if (row < 0 || row >= mTarget.height) return;
  x0 = std::max(0, x0);
  x1 = std::min(mTarget.width, x1);
  uint8_t* p = mTarget.pixels + static_cast<ptrdiff_t>(mTarget.pitch) * row + 4 * x0;
  if (replaceTarget) {
    for (int x = x0; x < x1; ++x, p += 4) std::memcpy(p, &colour, 4);
  } else if (x1 > x0) {
    BlendOver(p, x1 - x0, colour);
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
  if (!mTarget.pixels || x < 0 || y < 0 || x >= mTarget.width || y >= mTarget.height) return 0;
  const uint8_t* p = mTarget.pixels + static_cast<ptrdiff_t>(mTarget.pitch) * y + 4 * x;
  return p[0] | (p[1] << 8) | (p[2] << 16);
}
