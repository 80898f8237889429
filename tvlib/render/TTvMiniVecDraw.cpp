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

// floor(v) clamped to the limit; NaN counts as 0. (Truncation corrected downwards: std::floor
// is a library call on the baseline processor, and this runs for every glyph.)
int FloorToInt(float v) {
  if (std::isnan(v)) return 0;
  v = std::clamp(v, -kOriginLimit, kOriginLimit);
  const int truncated = static_cast<int>(v);
  return truncated - (static_cast<float>(truncated) > v);
}

// A float to a byte, truncated; NaN counts as 0.
uint8_t ToByte(float v) {
  return v > 0 ? static_cast<uint8_t>(std::min(v, 255.0f)) : 0;
}

// Blends a colour over n pixels, each by its own alpha a = (A c) >> 4 from the colour's alpha A
// and the pixel's coverage c: each of blue, green and red becomes (old (255 - a) + new a) / 255,
// truncated; the alpha byte stays. Four pixels at a time in 16-bit lanes, then the last 1 to 3
// in registers; x / 255 truncated is ((x + 1) 257) >> 16 for every x up to 255 * 255. Pixels
// without coverage come out as they were, so groups without any are skipped.
void BlendOver(uint8_t* p, int n, uint32_t colour, const uint8_t* coverage) {
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255);
  const __m128i colour16 = _mm_unpacklo_epi8(_mm_set1_epi32(int(colour)), zero);
  const __m128i alpha = _mm_set1_epi16(int16_t(colour >> 24));
  const __m128i alphaByte = _mm_set1_epi32(int(0xFF000000u));
  auto blend = [&](uint32_t c4, __m128i old) {
    const __m128i a16 = _mm_srli_epi16(
        _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(c4)), zero), alpha), 4);
    const __m128i pairs = _mm_unpacklo_epi16(a16, a16);
    const __m128i al = _mm_unpacklo_epi32(pairs, pairs), ah = _mm_unpackhi_epi32(pairs, pairs);
    auto half = [&](__m128i old16, __m128i a) {
      const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(colour16, a),
                                        _mm_mullo_epi16(old16, _mm_sub_epi16(full, a)));
      return _mm_mulhi_epu16(_mm_add_epi16(sum, _mm_set1_epi16(1)), _mm_set1_epi16(257));
    };
    const __m128i blended = _mm_packus_epi16(half(_mm_unpacklo_epi8(old, zero), al),
                                             half(_mm_unpackhi_epi8(old, zero), ah));
    return _mm_or_si128(_mm_and_si128(old, alphaByte), _mm_andnot_si128(alphaByte, blended));
  };
  int i = 0;
  for (; i + 4 <= n; i += 4, p += 16) {
    uint32_t c4;
    std::memcpy(&c4, coverage + i, 4);
    if (c4 == 0) continue;
    __m128i* q = reinterpret_cast<__m128i*>(p);
    _mm_storeu_si128(q, blend(c4, _mm_loadu_si128(q)));
  }
  const int rest = n - i;
  if (rest == 0) return;
  uint32_t c4 = coverage[i];
  if (rest > 1) c4 |= uint32_t{coverage[i + 1]} << 8;
  if (rest > 2) c4 |= uint32_t{coverage[i + 2]} << 16;
  if (c4 == 0) return;
  auto pixel = [p](int k) {
    int32_t v;
    std::memcpy(&v, p + 4 * k, 4);
    return _mm_cvtsi32_si128(v);
  };
  __m128i old = pixel(0);
  if (rest > 1) old = _mm_unpacklo_epi32(old, pixel(1));
  if (rest > 2) old = _mm_unpacklo_epi64(old, pixel(2));
  __m128i r = blend(c4, old);
  for (int k = 0; k < rest; ++k, r = _mm_srli_si128(r, 4)) {
    const int32_t v = _mm_cvtsi128_si32(r);
    std::memcpy(p + 4 * k, &v, 4);
  }
}

// Pixels at least half covered as whole, the others as not covered at all.
void Threshold(const uint8_t* coverage, int count, uint8_t* out) {
  for (int i = 0; i < count; ++i) out[i] = coverage[i] >= 8 ? 16 : 0;
}
}  // namespace

TTvMiniVecDraw::TTvMiniVecDraw(TCoverageDrawer drawer, size_t cacheCapBytes)
    : mDrawer(std::move(drawer)), mCache(cacheCapBytes) {}

void TTvMiniVecDraw::SetColor(int colourIndex, const float rgba[4], float alphaScale) {
  if (colourIndex < 0 || colourIndex > 255) return;
  const uint32_t rgb =
      ToByte(rgba[0] * 255) << 16 | ToByte(rgba[1] * 255) << 8 | ToByte(rgba[2] * 255);
  SetColourBytes(colourIndex, rgb, ToByte(ToByte(rgba[3] * 255) * alphaScale));
}

void TTvMiniVecDraw::SetColourBytes(int colourIndex, uint32_t rgb, uint32_t alpha) {
  mSlotColours[SlotOfColour(colourIndex)] = alpha << 24 | rgb;
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

  TCachedGlyph glyph;
  if (mCache.Find(key, glyph)) {
    DrawGlyph(glyph);
    return;
  }
  // Recording moves the cache's rows, which the pending batch points into.
  Flush();
  const TVecTransform transform{
      scaleX, scaleY, cosAngle, sinAngle, {key.strokeWidth[0], key.strokeWidth[1]}, key.italic};
  mCache.BeginGlyph(key);
  mSweep.Fill(outline.bytes.data(), outline.points, transform, key.phaseX, key.phaseY, *this);
  DrawGlyph(mCache.EndGlyph());
}

void TTvMiniVecDraw::Rows(std::span<const TCoverageRow> rows, const uint8_t* coverage) {
  mCache.AddRows(rows, coverage);
}

void TTvMiniVecDraw::DrawGlyph(const TCachedGlyph& glyph) {
  const uint8_t* coverage = flatShading ? FlatCoverage(glyph) : glyph.coverage;
  if (mTarget.pixels) {
    for (const sd::TRasterGlyphRow& r : glyph.rows) {
      WriteRow(mGlyphX + r.x0, mGlyphY + r.row, coverage, r.count, mSlotColours[r.slot]);
      coverage += r.count;
    }
    return;
  }
  if (glyph.rows.empty()) return;
  sd::TRasterCoverageGlyph& out = mBatch[mCount];
  out.x = mGlyphX;
  out.y = mGlyphY;
  std::memcpy(out.colours, mSlotColours, sizeof(out.colours));
  out.rows = glyph.rows.data();
  out.rowCount = static_cast<uint32_t>(glyph.rows.size());
  out.box = glyph.box;
  out.coverage = coverage;
  if (++mCount == kBatchSize) Flush();
}

const uint8_t* TTvMiniVecDraw::FlatCoverage(const TCachedGlyph& glyph) {
  size_t bytes = 0;
  for (const sd::TRasterGlyphRow& r : glyph.rows) bytes += r.count;
  if (mFlatUsed + bytes > mFlatCoverage.size() - sd::kCoverageReadSlack) {
    // Nothing points into the scratch once the batch is drawn (a target is written at once).
    Flush();
    if (bytes > mFlatCoverage.size() - sd::kCoverageReadSlack)
      mFlatCoverage.resize(bytes + sd::kCoverageReadSlack);
  }
  uint8_t* flat = mFlatCoverage.data() + mFlatUsed;
  Threshold(glyph.coverage, static_cast<int>(bytes), flat);
  // Into a target the glyph is written at once: the scratch is free again.
  if (!mTarget.pixels) mFlatUsed += bytes;
  return flat;
}

void TTvMiniVecDraw::Flush() {
  if (mCount == 0) return;
  if (mDrawer)
    mDrawer(std::span<const sd::TRasterCoverageGlyph>(mBatch, static_cast<size_t>(mCount)));
  mCount = 0;
  mFlatUsed = 0;
}

void TTvMiniVecDraw::WriteRow(int x0, int y, const uint8_t* coverage, int count, uint32_t colour) {
  if (y < 0 || y >= mTarget.height) return;
  const int start = std::max(0, x0), end = std::min(mTarget.width, x0 + count);
  if (start >= end) return;
  coverage += start - x0;
  uint8_t* p = mTarget.pixels + static_cast<ptrdiff_t>(mTarget.pitch) * y + 4 * start;
  if (!replaceTarget) {
    BlendOver(p, end - start, colour, coverage);
    return;
  }
  const uint32_t alpha = colour >> 24;
  for (int i = 0; i < end - start; ++i, p += 4) {
    if (coverage[i] == 0) continue;
    const uint32_t covered = (colour & 0x00FFFFFF) | (alpha * coverage[i] >> 4) << 24;
    std::memcpy(p, &covered, 4);
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
