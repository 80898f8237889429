// The edge flag count of plain glyphs (one even-odd group in one colour); see TVecSweep.h.
//
// The sorted walk covers, on each quarter scanline, the quarter columns from the rounded x of
// the first edge to that of the second, the third to the fourth, and so on: exactly the
// columns with an odd number of rounded edge crossings at or left of them, as long as the
// scanline has an even number of crossings. So each crossing toggles a bit, a running XOR
// along the quarter row marks the covered columns, and a pixel's coverage is the number of
// marked bits in its 4 x 4 block. Every x is computed as the walk computes it (same
// expressions, same order, same rounding and clamps), so no pixel can differ.
#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>

#include "tvlib/render/TVecSweep.h"

namespace {
constexpr int kQuarterLimit = 4 * TVecSweep::kPixelLimit;
// Quarter columns added on each side of the placed points' bounds: stepped x values drift
// from the exact line by rounding; a crossing beyond the margin sends the glyph to the walk.
constexpr int kColumnMargin = 2;
// Larger grids (glyphs hundreds of pixels tall and wide) are walked.
constexpr size_t kFlagWordLimit = size_t{1} << 18;

// The walk's rounding (halves away from zero) and its clamp to the quarter column limit,
// clamping first (the same column: rounding keeps whole numbers and order). x is never
// not-a-number here, so the clamp can be two instructions instead of branches.
int QuarterColumn(float x) {
  const float limit = kQuarterLimit;
  x = _mm_cvtss_f32(_mm_min_ss(_mm_max_ss(_mm_set_ss(x), _mm_set_ss(-limit)), _mm_set_ss(limit)));
  return static_cast<int>(x + std::copysign(0.5f, x));
}

}  // namespace

// Inlined: most edges cross only a few quarter scanlines.
[[gnu::always_inline]] inline bool TVecSweep::ToggleEdge(float x0, float y0, float x1, float y1,
                                                         int top, int bottom) {
  const float step = (x1 - x0) / (y1 - y0);
  if (!std::isfinite(step)) return false;
  float x = step * (top + 0.5f - y0) + x0 + mPhaseX;
  const size_t words = mWords;
  uint64_t* row = mFlags.data() + static_cast<size_t>(top + mPhaseY - 4 * mFirstRow) * words;
  const int columnLow = mColumnLow;
  const unsigned span = mColumnSpan;
  if (mInterior) {
    // Columns off the grid fail before any clamp could matter; the x values stay within a few
    // columns of the grid, far inside int range.
    int y = top;
    do {
      const unsigned column =
          static_cast<unsigned>(static_cast<int>(x + std::copysign(0.5f, x)) - columnLow);
      if (column > span) return false;
      row[column >> 6] ^= uint64_t{1} << (column & 63);
      x += step;
      row += words;
    } while (++y < bottom);
    return true;
  }
  for (int y = top; y < bottom; ++y, row += words) {
    const unsigned column = static_cast<unsigned>(QuarterColumn(x) - columnLow);
    if (column > span) return false;
    row[column >> 6] ^= uint64_t{1} << (column & 63);
    x += step;
  }
  return true;
}

bool TVecSweep::FlagSweep(int phaseX, int phaseY) {
  float minX = mEdges[0].x0, maxX = mEdges[0].x0;
  for (const TEdge& edge : mEdges) {
    minX = std::min(minX, std::min(edge.x0, edge.x1));
    maxX = std::max(maxX, std::max(edge.x0, edge.x1));
  }
  if (!BeginFlags(minX, maxX, mMinTop, mMaxBottom, phaseX, phaseY)) return false;
  for (const TEdge& edge : mEdges) {
    if (!ToggleEdge(edge.x0, edge.y0, edge.x1, edge.y1, edge.top, edge.bottom)) {
      ClearFlags();
      return false;
    }
  }
  return CountFlags(SlotOfColour(mSoleColour));
}

// What RunProgram and AddEdge make of a plain glyph's points, without the edge list: the
// points placed, their levels, and an edge from each point that is not a move's to the next.
bool TVecSweep::PlainSweep(const TVecGlyphPoints& glyph, int phaseX, int phaseY) {
  const size_t count = glyph.points.size() + 1;
  // Two points a register; one spare point to make the count even.
  if (mPlacedPoints.size() < count + 1) {
    mPlacedPoints.resize(count + 1);
    mLevels.resize(count + 1);
  }
  // Point 0 is the origin, where a program drawing before its first move starts.
  TPoint* placed = mPlacedPoints.data();
  int* levels = mLevels.data();
  placed[0] = Place({0, 0});
  const TVecTransform& t = *mTransform;
  if (!t.italic && t.sinAngle == 0.0f) {
    const __m128 scale = _mm_setr_ps(t.scaleX, t.scaleY, t.scaleX, t.scaleY);
    const float* from = &glyph.points.data()->x;
    size_t i = 1;
    for (; i + 1 < count; i += 2) {
      _mm_storeu_ps(&placed[i].x, _mm_mul_ps(_mm_loadu_ps(from + 2 * (i - 1)), scale));
    }
    if (i < count) placed[i] = {glyph.points[i - 1].x * t.scaleX, glyph.points[i - 1].y * t.scaleY};
  } else {
    for (size_t i = 1; i < count; ++i) placed[i] = Place(glyph.points[i - 1]);
  }
  // Levels, and the bounds of the points that edges can start or end at (a point that is
  // not finite sends the glyph to the program, which drops its edges). Level is computed
  // the same way, two points a register, and keeps order, so the extreme levels are those
  // of the extreme points.
  const size_t first = glyph.moves.empty() || glyph.moves[0] != 0 ? 0 : 1;
  placed[count] = placed[count - 1];
  const float limit = kQuarterLimit;
  const __m128 exponent = _mm_castsi128_ps(_mm_set1_epi32(0x7F800000));
  const __m128 half = _mm_set1_ps(0.5f), low = _mm_set1_ps(-limit), high = _mm_set1_ps(limit);
  __m128 least = _mm_set1_ps(INFINITY), most = _mm_set1_ps(-INFINITY);
  __m128 infinite = _mm_setzero_ps();
  for (size_t i = first; i < count; i += 2) {
    const __m128 v = _mm_loadu_ps(&placed[i].x);
    infinite = _mm_or_ps(infinite, _mm_cmpeq_ps(_mm_and_ps(v, exponent), exponent));
    least = _mm_min_ps(least, v);
    most = _mm_max_ps(most, v);
    const __m128 clamped = _mm_min_ps(_mm_max_ps(_mm_sub_ps(v, half), low), high);
    const __m128i whole = _mm_cvttps_epi32(clamped);
    const __m128i up = _mm_castps_si128(_mm_cmpgt_ps(clamped, _mm_cvtepi32_ps(whole)));
    const __m128i level = _mm_sub_epi32(whole, up);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(levels + i),
                     _mm_shuffle_epi32(level, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  if (_mm_movemask_ps(infinite) != 0) return false;
  alignas(16) float lows[4], highs[4];
  _mm_store_ps(lows, least);
  _mm_store_ps(highs, most);
  const float minX = std::min(lows[0], lows[2]), maxX = std::max(highs[0], highs[2]);
  const int minLevel = Level(std::min(lows[1], lows[3]));
  const int maxLevel = Level(std::max(highs[1], highs[3]));
  if (minLevel == maxLevel) return true;  // no edges
  if (!BeginFlags(minX, maxX, minLevel, maxLevel, phaseX, phaseY)) return false;
  size_t move = 0;
  for (size_t i = 1; i < count; ++i) {
    if (move < glyph.moves.size() && glyph.moves[move] == i - 1) {
      ++move;
      continue;
    }
    const int l0 = levels[i - 1], l1 = levels[i];
    if (l0 == l1) continue;
    const TPoint a = l1 < l0 ? placed[i] : placed[i - 1];
    const TPoint b = l1 < l0 ? placed[i - 1] : placed[i];
    if (!ToggleEdge(a.x, a.y, b.x, b.y, std::min(l0, l1), std::max(l0, l1))) {
      ClearFlags();
      return false;
    }
  }
  mFlagCounted = true;
  return CountFlags(SlotOfColour(glyph.plainColour));
}

bool TVecSweep::BeginFlags(float minX, float maxX, int minTop, int maxBottom, int phaseX,
                           int phaseY) {
  // Whole pixels of quarter columns around the points, whole pixel rows of quarter rows.
  const float limit = kQuarterLimit;
  mColumnLow = std::max(static_cast<int>(std::floor(std::clamp(minX + phaseX, -limit, limit))) -
                            kColumnMargin,
                        -kQuarterLimit) &
               ~3;
  const int columnHigh = std::min(
      static_cast<int>(std::ceil(std::clamp(maxX + phaseX, -limit, limit))) + kColumnMargin,
      kQuarterLimit);
  mColumnSpan = static_cast<unsigned>(columnHigh - mColumnLow);
  mInterior = mColumnLow > -kQuarterLimit && columnHigh < kQuarterLimit;
  mWords = (mColumnSpan >> 6) + 1;
  mFirstRow = (minTop + phaseY) >> 2;
  mLastRow = (maxBottom - 1 + phaseY) >> 2;
  mFlagSize = 4 * static_cast<size_t>(mLastRow - mFirstRow + 1) * mWords;
  if (mFlagSize > kFlagWordLimit) return false;
  if (mFlags.size() < mFlagSize) mFlags.resize(mFlagSize, 0);
  mPhaseX = phaseX;
  mPhaseY = phaseY;
  return true;
}

void TVecSweep::ClearFlags() {
  std::fill_n(mFlags.data(), mFlagSize, 0);
}

bool TVecSweep::CountFlags(int slot) {
  // Per pixel row: the running XOR of its four quarter rows (two at a time, one in each half
  // of a register), the count per pixel (two rows' nibble counts fit a nibble, four need a
  // byte), the stretch from the first covered pixel to the last. The grid is emptied on the
  // way.
  const size_t words = mWords;
  const int pixelLow = mColumnLow / 4;
  // The last pixel inside the limit, from the grid's first pixel.
  const int lastInside = kPixelLimit - 1 - pixelLow;
  mFlagRow.resize(16 * words);
  uint8_t* counts = mFlagRow.data();
  const __m128i lowNibbles = _mm_set1_epi8(0x0F);
  const __m128i pairs = _mm_set1_epi8(0x55);
  const __m128i quads = _mm_set1_epi8(0x33);
  const __m128i zero = _mm_setzero_si128();
  auto prefixXor = [](__m128i w) {
    w = _mm_xor_si128(w, _mm_slli_epi64(w, 1));
    w = _mm_xor_si128(w, _mm_slli_epi64(w, 2));
    w = _mm_xor_si128(w, _mm_slli_epi64(w, 4));
    w = _mm_xor_si128(w, _mm_slli_epi64(w, 8));
    w = _mm_xor_si128(w, _mm_slli_epi64(w, 16));
    return _mm_xor_si128(w, _mm_slli_epi64(w, 32));
  };
  // All ones in each half whose top bit is set.
  auto topBits = [](__m128i w) {
    return _mm_shuffle_epi32(_mm_srai_epi32(w, 31), _MM_SHUFFLE(3, 3, 1, 1));
  };
  auto nibbleCounts = [&](__m128i w) {
    w = _mm_sub_epi64(w, _mm_and_si128(_mm_srli_epi64(w, 1), pairs));
    return _mm_add_epi64(_mm_and_si128(w, quads), _mm_and_si128(_mm_srli_epi64(w, 2), quads));
  };
  uint64_t* q = mFlags.data();
  for (int pixelRow = mFirstRow; pixelRow <= mLastRow; ++pixelRow, q += 4 * words) {
    __m128i carry01 = zero, carry23 = zero;  // quarter rows 0 and 1, 2 and 3
    size_t firstWord = words, lastWord = 0;
    uint64_t firstMask = 0, lastMask = 0;
    for (size_t k = 0; k < words; ++k) {
      uint64_t* w0 = q + k;
      __m128i bits01 =
          _mm_set_epi64x(static_cast<long long>(w0[words]), static_cast<long long>(w0[0]));
      __m128i bits23 = _mm_set_epi64x(static_cast<long long>(w0[3 * words]),
                                      static_cast<long long>(w0[2 * words]));
      w0[0] = w0[words] = w0[2 * words] = w0[3 * words] = 0;
      bits01 = _mm_xor_si128(prefixXor(bits01), carry01);
      bits23 = _mm_xor_si128(prefixXor(bits23), carry23);
      carry01 = topBits(bits01);
      carry23 = topBits(bits23);
      const __m128i both = _mm_or_si128(bits01, bits23);
      const uint64_t any = static_cast<uint64_t>(_mm_cvtsi128_si64(both)) |
                           static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(both, both)));
      if (any != 0) {
        if (firstWord == words) {
          firstWord = k;
          firstMask = any;
        }
        lastWord = k;
        lastMask = any;
      }
      // Halves: rows 0 + 2 and 1 + 3 per nibble (up to 8); then per byte, even pixels in the
      // low half and odd ones in the high half, summed across the halves.
      const __m128i sums = _mm_add_epi64(nibbleCounts(bits01), nibbleCounts(bits23));
      const __m128i even = _mm_and_si128(sums, lowNibbles);
      const __m128i odd = _mm_and_si128(_mm_srli_epi64(sums, 4), lowNibbles);
      const __m128i pixels =
          _mm_add_epi8(_mm_unpacklo_epi64(even, odd), _mm_unpackhi_epi64(even, odd));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(counts + 16 * k),
                       _mm_unpacklo_epi8(pixels, _mm_unpackhi_epi64(pixels, pixels)));
    }
    // A quarter row crossed an odd number of times: the walk leaves its last crossing
    // unpaired, which a running XOR cannot.
    if (_mm_movemask_epi8(_mm_or_si128(carry01, carry23)) != 0) {
      std::fill(q, mFlags.data() + mFlagSize, 0);
      return false;
    }
    if (firstWord == words) continue;
    const int first = static_cast<int>(16 * firstWord) + std::countr_zero(firstMask) / 4;
    int last = static_cast<int>(16 * lastWord) + (63 - std::countl_zero(lastMask)) / 4;
    last = std::min(last, lastInside);
    while (last >= first && counts[last] == 0) --last;
    if (last < first) continue;
    const size_t offset = mCoverage.size();
    mCoverage.insert(mCoverage.end(), counts + first, counts + last + 1);
    mRows.push_back({int16_t(pixelLow + first), int16_t(pixelRow), uint16_t(last - first + 1),
                     uint8_t(slot), uint32_t(offset)});
  }
  return true;
}
