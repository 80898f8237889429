// What the rasteriser's files share: the primitive ready to be drawn as spans, the SSE2 blends
// and coverage-row walk that every instruction set builds on, and the entries of the AVX2 and
// AVX-512 paths (TRasterAvx2.cpp, TRasterAvx512.cpp), which TRaster.cpp calls only when the
// processor has them and the fast paths are on. Internal to the rasteriser.
#pragma once

#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tvlib/platform/render/TRaster.h"

namespace sd::raster {

// Which paths draw (see SetRasterPaths).
extern bool gFastPaths;
extern bool gAvx2;
extern bool gAvx512;

// Functions compiled for AVX2 (AVX-512), called only when the processor has it.
#define TV_AVX2 __attribute__((target("avx2")))
#define TV_AVX512 __attribute__((target("avx2,bmi2,avx512f,avx512bw,avx512vl")))

// A colour, constant or stepped per channel in 16.16 fixed point.
struct TColourPlane {
  bool constant = true;
  uint32_t value = 0;
  int64_t base[4] = {}, gx[4] = {}, gy[4] = {};
};

// The combiner's fast forms: the texel itself; the texel with the texture factor's alpha; and
// the texel scaled per channel by a constant and joined with constant channels (kScaled, see
// TPrim::scale), what a texture modulated by a constant vertex colour gives.
enum class TCombine { kGeneral, kTexture, kTextureOpaque, kScaled };
enum class TWrite { kGeneral, kCopy, kBlendAlpha, kAddAlpha, kAdd };

// A primitive ready to be drawn as spans.
struct TPrim {
  const TRasterState* st = nullptr;
  int32_t ox = 0, oy = 0;
  // Texture: null reads as opaque white.
  const TRasterTexture* tex = nullptr;
  bool linear = false;
  bool persp = false;
  int64_t u0 = 0, ux = 0, uy = 0, v0 = 0, vx = 0, vy = 0;  // texel units, 16.16
  double q0 = 0, qx = 0, qy = 0, uq0 = 0, uqx = 0, uqy = 0, vq0 = 0, vqx = 0, vqy = 0;
  TColourPlane diffuse, specular;
  bool addSpecular = false;
  double z0 = 0, zx = 0, zy = 0;
  bool depthTest = false;
  TCombine combine = TCombine::kGeneral;
  // kScaled: each channel is round(t s / 255) + a for texel channel t, with the channel s of
  // `scale` and a of `add`; no channel has both s and a non-zero.
  uint32_t scale = 0, add = 0;
  TWrite write = TWrite::kGeneral;
  bool killZeroAlpha = false;  // the alpha test discards exactly the pixels of alpha 0
};

// One sample of the bound level at (u, v) in 16.16 texel units, addressed as the state says.
uint32_t Sample(const TPrim& p, int64_t u, int64_t v);

// ---- SSE2 blends --------------------------------------------------------------------------------

// round(x / 255) on eight 16-bit lanes, for x up to 255 * 255: ((x + 128) * 257) >> 16.
inline __m128i Div255x8(__m128i x) {
  return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

inline __m128i AlphaLanes(__m128i px16) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, 0xFF), 0xFF);
}

// Four pixels blended by source alpha: with kInverse, round((s a + d (255 - a)) / 255);
// without, d + round(s a / 255) saturated (destination factor one).
template <bool kInverse>
inline __m128i BlendAlpha4(__m128i s, __m128i d) {
  const __m128i zero = _mm_setzero_si128();
  __m128i sl = _mm_unpacklo_epi8(s, zero), sh = _mm_unpackhi_epi8(s, zero);
  __m128i al = AlphaLanes(sl), ah = AlphaLanes(sh);
  __m128i pl = _mm_mullo_epi16(sl, al), ph = _mm_mullo_epi16(sh, ah);
  if (!kInverse) return _mm_adds_epu8(_mm_packus_epi16(Div255x8(pl), Div255x8(ph)), d);
  const __m128i full = _mm_set1_epi16(255);
  __m128i dl = _mm_unpacklo_epi8(d, zero), dh = _mm_unpackhi_epi8(d, zero);
  pl = _mm_add_epi16(pl, _mm_mullo_epi16(dl, _mm_sub_epi16(full, al)));
  ph = _mm_add_epi16(ph, _mm_mullo_epi16(dh, _mm_sub_epi16(full, ah)));
  return _mm_packus_epi16(Div255x8(pl), Div255x8(ph));
}

// Keeps the destination where the source alpha is 0.
inline __m128i KeepZeroAlpha(__m128i s, __m128i result, __m128i d) {
  __m128i zeroAlpha =
      _mm_cmpeq_epi32(_mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u))), _mm_setzero_si128());
  return _mm_or_si128(_mm_and_si128(zeroAlpha, d), _mm_andnot_si128(zeroAlpha, result));
}

template <TWrite kMode>
inline __m128i Write4(__m128i s, __m128i d, bool killZeroAlpha) {
  __m128i r;
  if constexpr (kMode == TWrite::kBlendAlpha)
    return BlendAlpha4<true>(s, d);  // alpha 0 keeps d
  else if constexpr (kMode == TWrite::kAddAlpha)
    return BlendAlpha4<false>(s, d);  // likewise
  else if constexpr (kMode == TWrite::kAdd)
    r = _mm_adds_epu8(s, d);
  else
    r = s;
  return killZeroAlpha ? KeepZeroAlpha(s, r, d) : r;
}

// Four pixels at a time; a tail of 1 to 3 pixels goes through the same code on a padded copy.
template <TWrite kMode>
void WriteRun(const uint32_t* src, uint32_t* dst, int n, bool killZeroAlpha) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Write4<kMode>(s, d, killZeroAlpha));
  }
  if (i == n) return;
  alignas(16) uint32_t s4[4] = {}, d4[4] = {};
  std::memcpy(s4, src + i, size_t(n - i) * 4);
  std::memcpy(d4, dst + i, size_t(n - i) * 4);
  __m128i r = Write4<kMode>(_mm_load_si128(reinterpret_cast<const __m128i*>(s4)),
                            _mm_load_si128(reinterpret_cast<const __m128i*>(d4)), killZeroAlpha);
  _mm_store_si128(reinterpret_cast<__m128i*>(d4), r);
  std::memcpy(dst + i, d4, size_t(n - i) * 4);
}

// The kScaled combine of n texels (TPrim::scale), four pixels at a time: round(t s / 255) is
// Div255x8 of the 16-bit product, as in the blends.
inline void ScaleTexels(const uint32_t* tex, uint32_t* out, int n, uint32_t scale, uint32_t add) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i s16 = _mm_unpacklo_epi8(_mm_set1_epi32(int(scale)), zero);
  const __m128i a = _mm_set1_epi32(int(add));
  auto four = [&](__m128i t) {
    __m128i lo = Div255x8(_mm_mullo_epi16(_mm_unpacklo_epi8(t, zero), s16));
    __m128i hi = Div255x8(_mm_mullo_epi16(_mm_unpackhi_epi8(t, zero), s16));
    return _mm_or_si128(_mm_packus_epi16(lo, hi), a);
  };
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tex + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), four(t));
  }
  for (; i < n; ++i) out[i] = uint32_t(_mm_cvtsi128_si32(four(_mm_cvtsi32_si128(int(tex[i])))));
}

// ---- Coverage rows ------------------------------------------------------------------------------

inline uint64_t Load8(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// A row's colour, ready for the blends below.
struct TCoverColour {
  __m128i rgb16;  // blue, green, red in 16-bit lanes 0-2 and 4-6, zero alpha lanes
  __m128i alpha;  // the colour's alpha in every 16-bit lane
  __m128i solid;  // the colour in every pixel
  __m128i table;  // byte i: the alpha of coverage i + 1, (A (i + 1)) >> 4
  uint32_t colour;
  bool opaque;
  explicit TCoverColour(uint32_t c)
      : rgb16(_mm_unpacklo_epi8(_mm_set1_epi32(int(c & 0x00FFFFFF)), _mm_setzero_si128())),
        alpha(_mm_set1_epi16(int16_t(c >> 24))),
        solid(_mm_set1_epi32(int(c))),
        table(_mm_packus_epi16(
            _mm_srli_epi16(_mm_mullo_epi16(_mm_setr_epi16(1, 2, 3, 4, 5, 6, 7, 8), alpha), 4),
            _mm_srli_epi16(_mm_mullo_epi16(_mm_setr_epi16(9, 10, 11, 12, 13, 14, 15, 16), alpha),
                           4))),
        colour(c),
        opaque((c >> 24) == 255) {}
};

// Whether every pixel the glyph's box holds lies inside the scissor: then its rows need no
// clipping.
inline bool GlyphInside(const TRect& clip, const TRasterCoverageGlyph& g) {
  const int64_t x = g.x, y = g.y;
  return x + g.box.left >= clip.left && x + g.box.right <= clip.right &&
         y + g.box.top >= clip.top && y + g.box.bottom <= clip.bottom;
}

// Whether a row lies in its glyph's box. The box only spares a glyph inside the scissor the
// clipping of its rows; a row outside it is clipped like any other, so a wrong box cannot
// write outside the target.
inline bool RowInBox(const TRasterGlyphBox& box, const TRasterGlyphRow& r) {
  return r.row >= box.top && r.row < box.bottom && r.x0 >= box.left &&
         r.x0 + int(r.count) <= box.right;
}

// The target pixel of a glyph's origin, as an offset from the target's first pixel.
inline ptrdiff_t OriginOffset(const TRasterState& st, const TRasterCoverageGlyph& g) {
  return ptrdiff_t(g.y) * st.targetPitch + g.x;
}

// The part of a glyph's row inside the scissor, as its first column x0 and n pixels of row y,
// skipping the row's first `skip` coverage bytes: false when none is.
inline bool ClipGlyphRow(const TRect& clip, const TRasterCoverageGlyph& g, const TRasterGlyphRow& r,
                         int32_t* x0, int32_t* y, int* n, int* skip) {
  const int64_t row = int64_t(g.y) + r.row;
  if (row < clip.top || row >= clip.bottom) return false;
  const int64_t first = int64_t(g.x) + r.x0;
  const int64_t start = std::max<int64_t>(first, clip.left);
  const int64_t end = std::min<int64_t>(first + r.count, clip.right);
  if (start >= end) return false;
  *x0 = int32_t(start);
  *y = int32_t(row);
  *n = int(end - start);
  *skip = int(start - first);
  return true;
}

// A batch of glyphs blended by their coverage-weighted alpha where the combiner passes the colour
// through: what the general path does pixel by pixel. Walks a glyph's rows straight when the
// glyph lies inside the scissor and clips each row otherwise; TColour is a slot colour made
// ready for Cover, the row blend of one instruction set. Inlined into each instruction set's
// entry below, so that Cover is inlined there too.
template <typename TColour, void (*Cover)(const TColour&, const uint8_t*, uint32_t*, int)>
[[gnu::always_inline]] inline void WalkCoverageGlyphs(const TRasterState& st,
                                                      const TRasterCoverageGlyph* glyphs,
                                                      size_t count) {
  TColour colour{TCoverColour(0)};
  for (size_t k = 0; k < count; ++k) {
    const TRasterCoverageGlyph& g = glyphs[k];
    const uint8_t* coverage = g.coverage;
    const TRasterGlyphRow* const end = g.rows + g.rowCount;
    const bool inside = GlyphInside(st.scissor, g);
    const ptrdiff_t origin = OriginOffset(st, g);
    for (const TRasterGlyphRow* r = g.rows; r != end; coverage += r->count, ++r) {
      if (g.colours[r->slot & 3] != colour.colour)
        colour = TColour{TCoverColour(g.colours[r->slot & 3])};
      if (inside && RowInBox(g.box, *r)) {
        Cover(colour, coverage, st.target + (origin + ptrdiff_t(r->row) * st.targetPitch + r->x0),
              r->count);
        continue;
      }
      int32_t x0, y;
      int n, skip;
      if (ClipGlyphRow(st.scissor, g, *r, &x0, &y, &n, &skip))
        Cover(colour, coverage + skip, st.target + size_t(y) * st.targetPitch + x0, n);
    }
  }
}

// ---- The AVX2 and AVX-512 paths -----------------------------------------------------------------

// An affine bilinear run of n texels from (u, v), two pixels at a time.
void BilinearRunAvx2(const TPrim& p, int64_t u, int64_t v, int n, uint32_t* out);
// The fast write stage `mode` (not kGeneral) eight pixels at a time.
void WriteRunAvx2(TWrite mode, const uint32_t* src, uint32_t* dst, int n, bool killZeroAlpha);
// out = the kScaled combine of n texels (TPrim::scale), eight pixels at a time.
void ScaleTexelsAvx2(const uint32_t* tex, uint32_t* out, int n, uint32_t scale, uint32_t add);
// dst = src with its alpha replaced, eight pixels at a time.
void CopyWithAlphaAvx2(const uint32_t* src, uint32_t* dst, int n, uint32_t alpha);
// A batch of coverage glyphs blended by alpha, eight (sixteen) pixels at a time.
void BlendCoverageGlyphsAvx2(const TRasterState& st, const TRasterCoverageGlyph* glyphs,
                             size_t count);
void BlendCoverageGlyphsAvx512(const TRasterState& st, const TRasterCoverageGlyph* glyphs,
                               size_t count);

}  // namespace sd::raster
