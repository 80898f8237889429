// The rasteriser's AVX-512 path: coverage glyph rows sixteen pixels at a time, giving exactly
// the bits of the SSE2 and AVX2 rows.
#include "tvlib/platform/render/TRasterShared.h"

namespace sd::raster {

namespace {

// The blend of BlendCovered8 sixteen pixels at a time with AVX-512: each 128-bit lane holds four
// pixels and is handled as each half of BlendCovered8 is. Same bits.
struct TCoverColour16 {
  __m512i solid, table;
  uint32_t colour;
  TV_AVX512 explicit TCoverColour16(const TCoverColour& k)
      : solid(_mm512_maskz_broadcast_i32x4(__mmask16(0xFFFF), k.solid)),
        table(_mm512_maskz_broadcast_i32x4(__mmask16(0xFFFF), k.table)),
        colour(k.colour) {}
};

TV_AVX512 inline __m512i BlendCovered16(const TCoverColour16& k, __m128i c16, __m512i d) {
  // Lane j spreads coverage bytes 4j to 4j + 3 over its pixels' four bytes.
  const __m512i spread =
      _mm512_set_epi32(0x0F0F0F0F, 0x0E0E0E0E, 0x0D0D0D0D, 0x0C0C0C0C, 0x0B0B0B0B, 0x0A0A0A0A,
                       0x09090909, 0x08080808, 0x07070707, 0x06060606, 0x05050505, 0x04040404,
                       0x03030303, 0x02020202, 0x01010101, 0x00000000);
  const __m512i coverage = _mm512_min_epu8(
      _mm512_shuffle_epi8(_mm512_maskz_broadcast_i32x4(__mmask16(0xFFFF), c16), spread),
      _mm512_set1_epi8(16));
  const __m512i alpha =
      _mm512_shuffle_epi8(k.table, _mm512_add_epi8(coverage, _mm512_set1_epi8(-1)));
  const __m512i bias = _mm512_set1_epi8(-128);
  const __m512i source =
      _mm512_xor_si512(_mm512_mask_blend_epi8(0x8888888888888888ull, k.solid, alpha), bias);
  const __m512i inverse = _mm512_xor_si512(alpha, _mm512_set1_epi8(-1));
  const __m512i target = _mm512_xor_si512(d, bias);
  const __m512i lo = _mm512_maddubs_epi16(_mm512_unpacklo_epi8(alpha, inverse),
                                          _mm512_unpacklo_epi8(source, target));
  const __m512i hi = _mm512_maddubs_epi16(_mm512_unpackhi_epi8(alpha, inverse),
                                          _mm512_unpackhi_epi8(source, target));
  const __m512i round = _mm512_set1_epi16(int16_t(32768)), by257 = _mm512_set1_epi16(257);
  return _mm512_packus_epi16(_mm512_mulhi_epu16(_mm512_add_epi16(lo, round), by257),
                             _mm512_mulhi_epu16(_mm512_add_epi16(hi, round), by257));
}

// A row sixteen pixels at a time, the last group through masks: the pixels past the row are
// neither read nor written, nor the coverage bytes past it read.
TV_AVX512 inline void CoverRowAvx512(const TCoverColour16& k, const uint8_t* coverage,
                                     uint32_t* dst, int n) {
  int i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i c16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coverage + i));
    _mm512_storeu_si512(dst + i, BlendCovered16(k, c16, _mm512_loadu_si512(dst + i)));
  }
  if (i == n) return;
  const __mmask16 mask = __mmask16(_bzhi_u32(0xFFFF, unsigned(n - i)));
  const __m128i c16 = _mm_maskz_loadu_epi8(mask, coverage + i);
  const __m512i d = _mm512_maskz_loadu_epi32(mask, dst + i);
  _mm512_mask_storeu_epi32(dst + i, mask, BlendCovered16(k, c16, d));
}

}  // namespace

TV_AVX512 void BlendCoverageGlyphsAvx512(const TRasterState& st, const TRasterCoverageGlyph* glyphs,
                                         size_t count) {
  WalkCoverageGlyphs<TCoverColour16, CoverRowAvx512>(st, glyphs, count);
}

}  // namespace sd::raster
