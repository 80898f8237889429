// The rasteriser's AVX2 paths: bilinear texel runs two pixels at a time, the fast write stages
// and opaque texture copies eight pixels at a time, and coverage glyph rows eight pixels at a
// time. Each gives exactly the bits of the SSE2 and general paths in TRaster.cpp.
#include "tvlib/platform/render/TRasterShared.h"

namespace sd::raster {

namespace {

// Two bilinear samples at once, one in each 128-bit half, each computed as BilerpPairs does.
// ra and rb point at the top-left texels of footprints lying wholly inside the texture.
TV_AVX2 inline __m256i Both(__m128i low, __m128i high) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

inline __m128i PairAt(const uint32_t* t) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(t));
}

TV_AVX2 inline void BilerpTwo(const uint32_t* ra, const uint32_t* rb, size_t pitch,
                              uint32_t weightsA, uint32_t weightsB, uint32_t* out) {
  const __m256i zero = _mm256_setzero_si256(), half = _mm256_set1_epi16(128);
  __m256i w = Both(_mm_cvtsi32_si128(int(weightsA)), _mm_cvtsi32_si128(int(weightsB)));
  __m256i wvs =
      _mm256_unpacklo_epi64(_mm256_shufflelo_epi16(w, 0x00), _mm256_shufflelo_epi16(w, 0x00));
  __m256i wus = _mm256_shufflelo_epi16(w, 0x55);
  __m256i row0 = _mm256_unpacklo_epi8(Both(PairAt(ra), PairAt(rb)), zero);
  __m256i row1 = _mm256_unpacklo_epi8(Both(PairAt(ra + pitch), PairAt(rb + pitch)), zero);
  __m256i col = _mm256_add_epi16(_mm256_slli_epi16(row0, 8),
                                 _mm256_mullo_epi16(_mm256_sub_epi16(row1, row0), wvs));
  col = _mm256_srli_epi16(_mm256_add_epi16(col, half), 8);
  __m256i right = _mm256_srli_si256(col, 8);
  __m256i h = _mm256_add_epi16(_mm256_slli_epi16(col, 8),
                               _mm256_mullo_epi16(_mm256_sub_epi16(right, col), wus));
  h = _mm256_packus_epi16(_mm256_srli_epi16(_mm256_add_epi16(h, half), 8), zero);
  out[0] = uint32_t(_mm256_cvtsi256_si32(h));
  out[1] = uint32_t(_mm_cvtsi128_si32(_mm256_extracti128_si256(h, 1)));
}
}  // namespace

// An affine bilinear run, two pixels at a time where both footprints lie inside the texture.
TV_AVX2 void BilinearRunAvx2(const TPrim& p, int64_t u, int64_t v, int n, uint32_t* out) {
  const TRasterTexture& t = *p.tex;
  const size_t pitch = size_t(t.pitch);
  int i = 0;
  for (; i + 2 <= n; i += 2) {
    int64_t ua = u + p.ux * i - 32768, va = v + p.vx * i - 32768;
    int64_t ub = ua + p.ux, vb = va + p.vx;
    int64_t xa = ua >> 16, ya = va >> 16, xb = ub >> 16, yb = vb >> 16;
    if (xa < 0 || xa + 1 >= t.width || ya < 0 || ya + 1 >= t.height || xb < 0 ||
        xb + 1 >= t.width || yb < 0 || yb + 1 >= t.height) {
      out[i] = Sample(p, ua + 32768, va + 32768);
      out[i + 1] = Sample(p, ub + 32768, vb + 32768);
      continue;
    }
    uint32_t wa = (uint32_t(ua >> 8) & 255) << 16 | (uint32_t(va >> 8) & 255);
    uint32_t wb = (uint32_t(ub >> 8) & 255) << 16 | (uint32_t(vb >> 8) & 255);
    BilerpTwo(t.texels + size_t(ya) * pitch + size_t(xa),
              t.texels + size_t(yb) * pitch + size_t(xb), pitch, wa, wb, out + i);
  }
  if (i < n) out[i] = Sample(p, u + p.ux * i, v + p.vx * i);
}

namespace {

// The same spans eight pixels at a time. Each 128-bit half of an AVX2 register is handled as the
// SSE2 code handles its one register, so the results are the same bits.

TV_AVX2 inline __m256i Div255x16(__m256i x) {
  return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

template <TWrite kMode>
TV_AVX2 inline __m256i Write8(__m256i s, __m256i d, bool killZeroAlpha) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i r;
  if constexpr (kMode == TWrite::kBlendAlpha || kMode == TWrite::kAddAlpha) {
    // Each pixel's alpha byte widened into its four 16-bit lanes, straight from the source.
    const __m256i lowPixels =
        _mm256_setr_epi8(3, -1, 3, -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1, 3, -1, 3, -1, 3,
                         -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1);
    const __m256i highPixels = _mm256_add_epi8(lowPixels, _mm256_set1_epi16(8));
    __m256i sl = _mm256_unpacklo_epi8(s, zero), sh = _mm256_unpackhi_epi8(s, zero);
    __m256i al = _mm256_shuffle_epi8(s, lowPixels), ah = _mm256_shuffle_epi8(s, highPixels);
    __m256i pl = _mm256_mullo_epi16(sl, al), ph = _mm256_mullo_epi16(sh, ah);
    if constexpr (kMode == TWrite::kAddAlpha)
      return _mm256_adds_epu8(_mm256_packus_epi16(Div255x16(pl), Div255x16(ph)), d);
    const __m256i full = _mm256_set1_epi16(255);
    __m256i dl = _mm256_unpacklo_epi8(d, zero), dh = _mm256_unpackhi_epi8(d, zero);
    pl = _mm256_add_epi16(pl, _mm256_mullo_epi16(dl, _mm256_sub_epi16(full, al)));
    ph = _mm256_add_epi16(ph, _mm256_mullo_epi16(dh, _mm256_sub_epi16(full, ah)));
    return _mm256_packus_epi16(Div255x16(pl), Div255x16(ph));
  } else if constexpr (kMode == TWrite::kAdd) {
    r = _mm256_adds_epu8(s, d);
  } else {
    r = s;
  }
  if (!killZeroAlpha) return r;
  __m256i zeroAlpha =
      _mm256_cmpeq_epi32(_mm256_and_si256(s, _mm256_set1_epi32(int(0xFF000000u))), zero);
  return _mm256_or_si256(_mm256_and_si256(zeroAlpha, d), _mm256_andnot_si256(zeroAlpha, r));
}

template <TWrite kMode>
TV_AVX2 void WriteRunAvx2(const uint32_t* src, uint32_t* dst, int n, bool killZeroAlpha) {
  int i = 0;
  for (; i + 16 <= n; i += 16) {  // two independent registers a step
    __m256i s0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    __m256i s1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 8));
    __m256i d0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    __m256i d1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i + 8));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), Write8<kMode>(s0, d0, killZeroAlpha));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 8),
                        Write8<kMode>(s1, d1, killZeroAlpha));
  }
  for (; i + 8 <= n; i += 8) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), Write8<kMode>(s, d, killZeroAlpha));
  }
  if (i < n) WriteRun<kMode>(src + i, dst + i, n - i, killZeroAlpha);
}

}  // namespace

void WriteRunAvx2(TWrite mode, const uint32_t* src, uint32_t* dst, int n, bool killZeroAlpha) {
  switch (mode) {
    case TWrite::kBlendAlpha:
      return WriteRunAvx2<TWrite::kBlendAlpha>(src, dst, n, killZeroAlpha);
    case TWrite::kAddAlpha:
      return WriteRunAvx2<TWrite::kAddAlpha>(src, dst, n, killZeroAlpha);
    case TWrite::kAdd:
      return WriteRunAvx2<TWrite::kAdd>(src, dst, n, killZeroAlpha);
    default:
      return WriteRunAvx2<TWrite::kCopy>(src, dst, n, killZeroAlpha);
  }
}

TV_AVX2 void ScaleTexelsAvx2(const uint32_t* tex, uint32_t* out, int n, uint32_t scale,
                             uint32_t add) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i s16 = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(scale)), zero);
  const __m256i a = _mm256_set1_epi32(int(add));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tex + i));
    __m256i lo = Div255x16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(t, zero), s16));
    __m256i hi = Div255x16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(t, zero), s16));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_or_si256(_mm256_packus_epi16(lo, hi), a));
  }
  if (i < n) ScaleTexels(tex + i, out + i, n - i, scale, add);
}

TV_AVX2 void CopyWithAlphaAvx2(const uint32_t* src, uint32_t* dst, int n, uint32_t alpha) {
  int i = 0;
  const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF), a = _mm256_set1_epi32(int(alpha));
  for (; i + 8 <= n; i += 8) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                        _mm256_or_si256(_mm256_and_si256(s, rgb), a));
  }
  for (; i < n; ++i) dst[i] = (src[i] & 0x00FFFFFF) | alpha;
}

namespace {

// A row's colour for the AVX2 blend, in both halves.
struct TCoverColour8 {
  __m256i solid, table;
  uint32_t colour;
  TV_AVX2 explicit TCoverColour8(const TCoverColour& k)
      : solid(_mm256_broadcastsi128_si256(k.solid)),
        table(_mm256_broadcastsi128_si256(k.table)),
        colour(k.colour) {}
};

// The blend of BlendCovered4 eight pixels at a time, with AVX2's byte products: for each channel
// byte, a (s - 128) + (255 - a) (d - 128) is s a + d (255 - a) - 128 * 255, which lies within 16
// signed bits, so one multiply-add of unsigned weights by signed bytes gives it exactly; adding
// back 128 * 255 (and the 128 that rounds) leaves the division of the SSE2 code. Same bits.
TV_AVX2 inline __m256i BlendCovered8(const TCoverColour8& k, uint64_t c8, __m256i d) {
  // Each pixel's coverage in its four bytes (pixels 0-3 in the low half, 4-7 in the high), then
  // its alpha from the table: coverage 0 indexes with the top bit set, which gives 0.
  const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4,
                                          4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7);
  const __m256i coverage = _mm256_min_epu8(
      _mm256_shuffle_epi8(_mm256_set1_epi64x(int64_t(c8)), spread), _mm256_set1_epi8(16));
  const __m256i alpha =
      _mm256_shuffle_epi8(k.table, _mm256_add_epi8(coverage, _mm256_set1_epi8(-1)));
  const __m256i alphaBytes = _mm256_set1_epi32(int(0xFF000000u));
  const __m256i bias = _mm256_set1_epi8(-128);
  const __m256i source = _mm256_xor_si256(_mm256_blendv_epi8(k.solid, alpha, alphaBytes), bias);
  const __m256i inverse = _mm256_xor_si256(alpha, _mm256_set1_epi8(-1));
  const __m256i target = _mm256_xor_si256(d, bias);
  const __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(alpha, inverse),
                                          _mm256_unpacklo_epi8(source, target));
  const __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(alpha, inverse),
                                          _mm256_unpackhi_epi8(source, target));
  const __m256i round = _mm256_set1_epi16(int16_t(32768)), by257 = _mm256_set1_epi16(257);
  return _mm256_packus_epi16(_mm256_mulhi_epu16(_mm256_add_epi16(lo, round), by257),
                             _mm256_mulhi_epu16(_mm256_add_epi16(hi, round), by257));
}

// A row eight pixels at a time without a branch on the coverage: branches on data the processor
// cannot foresee cost more than the blends they would spare. The last group's pixels past the
// row are masked off (their coverage bytes, which are readable, are ignored).
TV_AVX2 inline void CoverRowAvx2(const TCoverColour8& k, const uint8_t* coverage, uint32_t* dst,
                                 int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i* p = reinterpret_cast<__m256i*>(dst + i);
    _mm256_storeu_si256(p, BlendCovered8(k, Load8(coverage + i), _mm256_loadu_si256(p)));
  }
  if (i == n) return;
  const int rest = n - i;
  const uint64_t c8 = Load8(coverage + i) & (~0ull >> (64 - 8 * rest));
  const __m256i mask =
      _mm256_cmpgt_epi32(_mm256_set1_epi32(rest), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  int* p = reinterpret_cast<int*>(dst + i);
  _mm256_maskstore_epi32(p, mask, BlendCovered8(k, c8, _mm256_maskload_epi32(p, mask)));
}

}  // namespace

TV_AVX2 void BlendCoverageGlyphsAvx2(const TRasterState& st, const TRasterCoverageGlyph* glyphs,
                                     size_t count) {
  WalkCoverageGlyphs<TCoverColour8, CoverRowAvx2>(st, glyphs, count);
}

}  // namespace sd::raster
