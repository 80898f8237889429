// Outline programs to coverage runs; see TVecSweep.h.
#include "tvlib/render/TVecSweep.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "tvlib/render/TVecOutline.h"

namespace {
constexpr int kQuarterLimit = 4 * TVecSweep::kPixelLimit;
// Edge x positions are kept well inside int range before rounding.
constexpr float kXLimit = 8.0f * kQuarterLimit;
constexpr int kInitialEdges = 512;

// Halves away from zero, within the range the accumulators can use (library rounding is a
// call per edge and scanline).
int RoundX(float x) {
  if (std::isnan(x)) return 0;
  x = std::clamp(x, -kXLimit, kXLimit);
  return x >= 0 ? static_cast<int>(x + 0.5f) : -static_cast<int>(0.5f - x);
}

bool IsFinite(float v) {
  return (std::bit_cast<uint32_t>(v) & 0x7F800000u) != 0x7F800000u;
}
}  // namespace

int SlotOfColour(int colour) {
  switch (colour) {
    case 1:
      return 3;
    case 254:
      return 1;
    case 255:
      return 0;
    default:
      return 2;
  }
}

TVecSweep::TVecSweep() {
  mEdges.reserve(kInitialEdges);
}

void TVecSweep::Fill(const uint8_t* program, const TVecGlyphPoints* points,
                     const TVecTransform& transform, int phaseX, int phaseY,
                     TVecCoverageSink& sink) {
  mTransform = &transform;
  mFlagCounted = false;
  mRows.clear();
  mCoverage.clear();
  sink.DefineColour(0, 0, 0, 0, false);
  if (points && points->plainColour != 0 && transform.strokeWidth[0] == 0.0f && mUseEdgeFlags &&
      PlainSweep(*points, phaseX, phaseY)) {
    if (!mRows.empty()) sink.Rows(mRows, mCoverage.data());
    return;
  }
  mEdges.clear();
  mMinTop = INT32_MAX;
  mMaxTop = mMaxBottom = INT32_MIN;
  mMaxGroup = 0;
  mSoleColour = -1;
  mFirstEdge = true;
  RunProgram(program, points, sink);
  if (mEdges.empty()) return;
  Sweep(phaseX, phaseY);
  if (!mRows.empty()) sink.Rows(mRows, mCoverage.data());
}

void TVecSweep::RunProgram(const uint8_t* program, const TVecGlyphPoints* points,
                           TVecCoverageSink& sink) {
  mGroup = 2;
  mLeft = mRight = 0;
  int colourBase = 0;
  int coloursDefined = 0;
  TPoint current{0, 0};
  mPlaced = Place(current);
  mPlacedLevel = Level(mPlaced.y);
  // The program's points, decoded and cut here unless they were made beforehand.
  const TPoint* next = points ? points->points.data() : nullptr;
  auto point = [&next](const uint8_t* p) { return next ? *next++ : ReadVecPoint(p); };
  auto relative = [&](uint8_t colour) {
    return static_cast<uint8_t>(colour != 0 ? colour + colourBase : 0);
  };
  for (const uint8_t* op = program;; op += VecOpLength(*op)) {
    switch (*op) {
      case kOpNewGroup:
        mGroup = std::min(mGroup + 1, 255);
        colourBase = coloursDefined;
        mLeft = mRight = 0;
        break;
      case kOpLeftColour:
        mLeft = relative(op[1]);
        break;
      case kOpRightColour:
        mRight = relative(op[1]);
        break;
      case kOpMove:
        current = point(op + 1);
        mPlaced = Place(current);
        mPlacedLevel = Level(mPlaced.y);
        break;
      case kOpLine: {
        const TPoint to = point(op + 1);
        Segment(current, to);
        current = to;
        break;
      }
      case kOpCurve: {
        TPoint chords[3];
        if (next) {
          std::copy_n(next, 3, chords);
          next += 3;
        } else {
          const TPoint c = ReadVecPoint(op + 1);
          chords[2] = ReadVecPoint(op + 5);
          chords[0] = ChordPoint(current, c, chords[2], 1);
          chords[1] = ChordPoint(current, c, chords[2], 2);
        }
        Segment(current, chords[0]);
        Segment(chords[0], chords[1]);
        Segment(chords[1], chords[2]);
        current = chords[2];
        break;
      }
      case kOpDefineColour:
        if (coloursDefined < 255) {
          ++coloursDefined;
          sink.DefineColour(coloursDefined, op[1], op[2], op[3], true);
        }
        break;
      default:  // the end opcode, and any byte that is not an opcode
        return;
    }
  }
}

TVecSweep::TPoint TVecSweep::Place(TPoint p) const {
  const TVecTransform& t = *mTransform;
  if (t.italic) p.x -= p.y / 3;
  p.x *= t.scaleX;
  p.y *= t.scaleY;
  if (t.sinAngle != 0.0f)
    p = {p.x * t.cosAngle - p.y * t.sinAngle, p.x * t.sinAngle + p.y * t.cosAngle};
  return p;
}

void TVecSweep::Segment(TPoint from, TPoint to) {
  for (int k = 0; k < 2 && mTransform->strokeWidth[k] != 0.0f; ++k) StrokeSegment(from, to, k);
  const TPoint placed = Place(to);
  const int level = Level(placed.y);
  if (level != mPlacedLevel) AddEdge(mPlaced, mPlacedLevel, placed, level, mLeft, mRight, mGroup);
  mPlaced = placed;
  mPlacedLevel = level;
}

void TVecSweep::StrokeSegment(TPoint p0, TPoint p1, int stroke) {
  const float dx = p1.x - p0.x;
  const float dy = p1.y - p0.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length == 0.0f) return;
  const float width = 4 * mTransform->strokeWidth[stroke];
  const float a = width / mTransform->scaleX * dx / length;
  const float b = width / mTransform->scaleY * dy / length;
  const TPoint band[6] = {{p0.x + b, p0.y - a}, {p0.x - a, p0.y - b}, {p0.x - b, p0.y + a},
                          {p1.x - b, p1.y + a}, {p1.x + a, p1.y + b}, {p1.x + b, p1.y - a}};
  TPoint placed[6];
  int levels[6];
  for (int i = 0; i < 6; ++i) {
    placed[i] = Place(band[i]);
    levels[i] = Level(placed[i].y);
  }
  for (int i = 0; i < 6; ++i) {
    const int j = (i + 1) % 6;
    if (levels[i] != levels[j]) AddEdge(placed[i], levels[i], placed[j], levels[j], 1, 0, stroke);
  }
}

void TVecSweep::AddEdge(TPoint p0, int level0, TPoint p1, int level1, uint8_t left, uint8_t right,
                        int group) {
  // Non-finite edges are dropped.
  if (!IsFinite(p0.x) || !IsFinite(p0.y) || !IsFinite(p1.x) || !IsFinite(p1.y)) return;
  // The upper point first, picked without a branch (the direction is anyone's guess).
  const bool swapped = level1 < level0;
  const uint64_t upper = swapped ? std::bit_cast<uint64_t>(p1) : std::bit_cast<uint64_t>(p0);
  const uint64_t lower = swapped ? std::bit_cast<uint64_t>(p0) : std::bit_cast<uint64_t>(p1);
  const TPoint a = std::bit_cast<TPoint>(upper);
  const TPoint b = std::bit_cast<TPoint>(lower);
  const int top = std::min(level0, level1);
  const int bottom = std::max(level0, level1);
  uint8_t colour = left != 0 ? left : right;
  // Stroke edges carry their direction in the colour byte.
  if (group < 2 && !swapped) colour = 0;
  mEdges.push_back({a.x, a.y, b.x, b.y, top, bottom, -1, colour, uint8_t(group)});
  mMinTop = std::min(mMinTop, top);
  mMaxTop = std::max(mMaxTop, top);
  mMaxBottom = std::max(mMaxBottom, bottom);
  mMaxGroup = std::max(mMaxGroup, group);
  if (mFirstEdge) mSoleColour = group == 2 && colour != 0 ? colour : -1;
  if (group != 2 || colour != mSoleColour) mSoleColour = -1;
  mFirstEdge = false;
}

void TVecSweep::Sweep(int phaseX, int phaseY) {
  mRows.clear();
  mCoverage.clear();
  mFlagCounted = mSoleColour > 0 && mUseEdgeFlags && FlagSweep(phaseX, phaseY);
  if (mFlagCounted) return;
  mRows.clear();
  mCoverage.clear();
  WalkEdges(phaseX, phaseY);
}

void TVecSweep::WalkEdges(int phaseX, int phaseY) {
  // Buckets of edges by top scanline, sized from the edges actually made.
  const size_t bucketCount = static_cast<size_t>(mMaxTop - mMinTop + 1);
  if (mBuckets.size() < bucketCount) mBuckets.resize(bucketCount);
  std::fill_n(mBuckets.begin(), bucketCount, -1);
  for (int i = static_cast<int>(mEdges.size()) - 1; i >= 0; --i) {
    int& head = mBuckets[mEdges[i].top - mMinTop];
    mEdges[i].next = head;
    head = i;
  }
  mActive.clear();
  int row = 0;
  for (int y = mMinTop; y < mMaxBottom; ++y) {
    // Drop finished edges, step the others and keep them in x order (an insertion sort in
    // the same pass: the order barely changes from one scanline to the next).
    size_t kept = 0;
    for (size_t i = 0; i < mActive.size(); ++i) {
      TActiveEdge edge = mActive[i];  // a copy: slots up to i may be overwritten below
      if (edge.bottom <= y) continue;
      edge.x += edge.step;
      size_t j = kept++;
      for (; j > 0 && mActive[j - 1].x > edge.x; --j) mActive[j] = mActive[j - 1];
      mActive[j] = edge;
    }
    mActive.resize(kept);
    if (y <= mMaxTop) {
      for (int e = mBuckets[y - mMinTop]; e >= 0; e = mEdges[e].next) {
        const TEdge& edge = mEdges[e];
        const float step = (edge.x1 - edge.x0) / (edge.y1 - edge.y0);
        const float x = step * (y + 0.5f - edge.y0) + edge.x0 + phaseX;
        mActive.push_back({x, step, edge.bottom, edge.colour, edge.group});
        size_t j = mActive.size() - 1;
        for (; j > 0 && mActive[j - 1].x > x; --j) mActive[j] = mActive[j - 1];
        mActive[j] = {x, step, edge.bottom, edge.colour, edge.group};
      }
    }
    if (mSoleColour > 0) {
      WalkPairs();
    } else {
      WalkScanline();
    }
    row = (y + phaseY) >> 2;
    if (((y + phaseY) & 3) == 3) EmitRow(row);
  }
  EmitRow(row);
}

void TVecSweep::WalkScanline() {
  std::fill_n(mGroupColour, mMaxGroup + 1, 0);
  mWinding[0] = mWinding[1] = 0;
  int top = -1;  // the highest group showing a colour
  int current = 0;
  int slot = SlotOfColour(0);
  int start = 0, end = 0;
  for (const TActiveEdge& edge : mActive) {
    const int shown = top >= 0 ? mGroupColour[top] : 0;
    const int x = RoundX(edge.x);
    if (shown == 0) {
      CloseRun(start, end, slot);
      start = end = x;
    } else if (shown != current) {
      CloseRun(start, end, slot);
      current = shown;
      slot = SlotOfColour(shown);
      start = end;
      end = x;
    } else {
      end = x;
    }
    const int g = edge.group;
    if (g < 2) {
      mWinding[g] += edge.colour != 0 ? 1 : -1;
      mGroupColour[g] = mWinding[g] != 0 ? uint8_t(255 - g) : 0;
    } else {
      mGroupColour[g] = mGroupColour[g] != 0 ? 0 : edge.colour;
    }
    if (mGroupColour[g] != 0) {
      top = std::max(top, g);
    } else {
      while (top >= 0 && mGroupColour[top] == 0) --top;
    }
  }
  CloseRun(start, end, slot);
}

// One even-odd group in one colour: the runs lie between the first and second edge, the
// third and fourth, and so on (what WalkScanline makes of such a scanline, without the
// bookkeeping).
void TVecSweep::WalkPairs() {
  const int slot = SlotOfColour(mSoleColour);
  for (size_t i = 0; i + 1 < mActive.size(); i += 2) {
    CloseRun(RoundX(mActive[i].x), RoundX(mActive[i + 1].x), slot);
  }
}

void TVecSweep::CloseRun(int start, int end, int slot) {
  // Quarter columns [start, end) relative to the glyph origin, as cell quarters; the cut at
  // the limits keeps every index inside the row and its two spare cells.
  const int s = std::clamp(start + kQuarterLimit, 0, 4 * kCells);
  const int e = std::clamp(end + kQuarterLimit, 0, 4 * kCells);
  if (s >= e) return;
  uint8_t* cells = mCells[slot];
  cells[s >> 2] += 4 - (s & 3);
  cells[(s >> 2) + 1] += s & 3;
  cells[e >> 2] -= 4 - (e & 3);
  cells[(e >> 2) + 1] -= e & 3;
  mDirty[slot] = true;
  mLowCell = std::min(mLowCell, s >> 2);
  mHighCell = std::max(mHighCell, (e >> 2) + 1);
}

void TVecSweep::EmitRow(int row) {
  const int last = std::min(mHighCell, kCells - 1);
  for (int slot = 0; slot < 4; ++slot) {
    if (!mDirty[slot]) continue;
    mDirty[slot] = false;
    uint8_t* cells = mCells[slot];
    // The running sum of the difference row is the coverage; the row keeps the stretch from
    // the first covered pixel to the last.
    const size_t offset = mCoverage.size();
    uint8_t coverage = 0;
    int first = -1, end = 0;
    for (int c = mLowCell; c <= last; ++c) {
      coverage = static_cast<uint8_t>(coverage + cells[c]);
      if (coverage == 0) continue;
      if (first < 0) first = c;
      mCoverage.resize(offset + static_cast<size_t>(c - first), 0);
      mCoverage.push_back(coverage);
      end = c + 1;
    }
    if (first >= 0) {
      mRows.push_back({int16_t(first - kPixelLimit), int16_t(row), uint16_t(end - first),
                       uint8_t(slot), uint32_t(offset)});
    }
    std::fill(cells + mLowCell, cells + mHighCell + 1, 0);
  }
  mLowCell = kCells;
  mHighCell = -1;
}
