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

// The walk's rounding (halves away from zero) of an x already clamped to the quarter column
// limit, and that limit's clamp; clamping first gives the same column since rounding keeps
// whole numbers and order.
int QuarterColumn(float x) {
  x = std::min(std::max(x, static_cast<float>(-kQuarterLimit)), static_cast<float>(kQuarterLimit));
  return static_cast<int>(x + std::copysign(0.5f, x));
}

// Bit i of the result is the XOR of bits 0..i of w.
uint64_t PrefixXor(uint64_t w) {
  w ^= w << 1;
  w ^= w << 2;
  w ^= w << 4;
  w ^= w << 8;
  w ^= w << 16;
  return w ^ (w << 32);
}

// The number of set bits in each nibble of w, per nibble (0-4).
uint64_t NibbleCounts(uint64_t w) {
  w -= (w >> 1) & 0x5555555555555555ull;
  return (w & 0x3333333333333333ull) + ((w >> 2) & 0x3333333333333333ull);
}
}  // namespace

bool TVecSweep::FlagSweep(int phaseX, int phaseY) {
  // The grid: whole pixels of quarter columns around the placed points, whole pixel rows of
  // quarter rows.
  float minX = mEdges[0].x0, maxX = mEdges[0].x0;
  for (const TEdge& edge : mEdges) {
    minX = std::min(minX, std::min(edge.x0, edge.x1));
    maxX = std::max(maxX, std::max(edge.x0, edge.x1));
  }
  const float limit = kQuarterLimit;
  const int columnLow =
      std::max(
          static_cast<int>(std::floor(std::clamp(minX + phaseX, -limit, limit))) - kColumnMargin,
          -kQuarterLimit) &
      ~3;
  const int columnHigh = std::min(
      static_cast<int>(std::ceil(std::clamp(maxX + phaseX, -limit, limit))) + kColumnMargin,
      kQuarterLimit);
  const unsigned columnSpan = static_cast<unsigned>(columnHigh - columnLow);
  const size_t words = (columnSpan >> 6) + 1;
  const int firstRow = (mMinTop + phaseY) >> 2;
  const int lastRow = (mMaxBottom - 1 + phaseY) >> 2;
  const size_t quarterRows = 4 * static_cast<size_t>(lastRow - firstRow + 1);
  const size_t size = quarterRows * words;
  if (size > kFlagWordLimit) return false;
  if (mFlags.size() < size) mFlags.resize(size, 0);
  uint64_t* flags = mFlags.data();

  // Every crossing toggles its bit; a crossing off the grid or an edge whose x the walk
  // would see as undefined sends the glyph to the walk.
  bool exact = true;
  for (const TEdge& edge : mEdges) {
    const float step = (edge.x1 - edge.x0) / (edge.y1 - edge.y0);
    if (!std::isfinite(step)) {
      exact = false;
      break;
    }
    float x = step * (edge.top + 0.5f - edge.y0) + edge.x0 + phaseX;
    uint64_t* row = flags + static_cast<size_t>(edge.top + phaseY - 4 * firstRow) * words;
    for (int y = edge.top; y < edge.bottom; ++y, row += words) {
      const unsigned column = static_cast<unsigned>(QuarterColumn(x) - columnLow);
      if (column > columnSpan) {
        exact = false;
        break;
      }
      row[column >> 6] ^= uint64_t{1} << (column & 63);
      x += step;
    }
    if (!exact) break;
  }

  // Per pixel row: the running XOR of its four quarter rows, the count per pixel (two rows'
  // nibble counts fit a nibble, four need a byte), the stretch from the first covered pixel
  // to the last. The grid is emptied on the way.
  const int slot = SlotOfColour(mSoleColour);
  const int pixelLow = columnLow / 4;
  // The last pixel inside the limit, from the grid's first pixel.
  const int lastInside = kPixelLimit - 1 - pixelLow;
  mFlagRow.resize(16 * words);
  uint8_t* counts = mFlagRow.data();
  const uint64_t lowNibbles = 0x0F0F0F0F0F0F0F0Full;
  for (int pixelRow = firstRow; pixelRow <= lastRow && exact; ++pixelRow) {
    uint64_t* q = flags + static_cast<size_t>(pixelRow - firstRow) * 4 * words;
    uint64_t carry[4] = {0, 0, 0, 0};
    size_t firstWord = words, lastWord = 0;
    uint64_t firstMask = 0, lastMask = 0;
    for (size_t k = 0; k < words; ++k) {
      uint64_t bits[4];
      for (int r = 0; r < 4; ++r) {
        uint64_t& word = q[r * words + k];
        bits[r] = PrefixXor(word) ^ (0 - carry[r]);
        carry[r] = bits[r] >> 63;
        word = 0;
      }
      const uint64_t any = bits[0] | bits[1] | bits[2] | bits[3];
      if (any != 0) {
        if (firstWord == words) {
          firstWord = k;
          firstMask = any;
        }
        lastWord = k;
        lastMask = any;
      }
      const uint64_t upper = NibbleCounts(bits[0]) + NibbleCounts(bits[1]);
      const uint64_t lower = NibbleCounts(bits[2]) + NibbleCounts(bits[3]);
      const uint64_t even = (upper & lowNibbles) + (lower & lowNibbles);
      const uint64_t odd = ((upper >> 4) & lowNibbles) + ((lower >> 4) & lowNibbles);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(counts + 16 * k),
                       _mm_unpacklo_epi8(_mm_cvtsi64_si128(static_cast<long long>(even)),
                                         _mm_cvtsi64_si128(static_cast<long long>(odd))));
    }
    // A quarter row crossed an odd number of times: the walk leaves its last crossing
    // unpaired, which a running XOR cannot.
    if ((carry[0] | carry[1] | carry[2] | carry[3]) != 0) exact = false;
    if (firstWord == words || !exact) continue;
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
  if (!exact) std::fill_n(flags, size, 0);
  return exact;
}
