// The grid pathfinder: grid building, cell mapping and the budgeted A*.
//
// Candidates share their path prefixes through parent links instead of each holding a copy,
// and the open list is a heap ordered by (g + h, age). Taking the cheapest, oldest candidate
// first is the order a fully re-sorted list with stable ties gives, so the paths are the same.
#include "game/room/TWaitressPathfinding.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"

namespace {

// Heap order: the top entry is the cheapest, and among equal costs the oldest.
struct TLaterInOpenList {
  template <class Entry>
  bool operator()(const Entry& a, const Entry& b) const {
    if (a.cost != b.cost) return a.cost > b.cost;
    return a.candidate > b.candidate;
  }
};

}  // namespace

void TWaitressPathfinding::BuildGrid(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                     const std::vector<TRect>& obstacles, int32_t cellSize) {
  int32_t columns = 0, rows = 0;
  if (cellSize < 1) {
    DebugLog("TWaitressPathfinding::BuildGrid: cell size %d, the grid is left empty", cellSize);
  } else {
    columns = std::max(0, (right - left) / cellSize);
    rows = std::max(0, (bottom - top) / cellSize);
  }
  // Candidates and closed cells are kept by grid index, valid only on a grid of this shape.
  if (columns != mColumns || rows != mRows) ClearRequest();
  mLeft = left;
  mTop = top;
  mColumns = columns;
  mRows = rows;
  mCellSize = std::max(1, cellSize);
  mWalkable.assign(static_cast<size_t>(columns) * rows, 0);
  mClosed.resize(mWalkable.size(), 0);
  for (int32_t column = 0; column < columns; ++column) {
    for (int32_t row = 0; row < rows; ++row) {
      TCellRef cell{column, row};
      mWalkable[CellIndex(cell)] = IsWalkable(GetCellPoint(cell), obstacles) ? 1 : 0;
    }
  }
}

bool TWaitressPathfinding::IsWalkable(TPoint point, const std::vector<TRect>& obstacles) {
  return std::none_of(obstacles.begin(), obstacles.end(),
                      [&](const TRect& rect) { return rect.Contains(point.x, point.y); });
}

bool TWaitressPathfinding::IsCellWalkable(TCellRef cell) const {
  bool inside = cell.column >= 0 && cell.column < mColumns && cell.row >= 0 && cell.row < mRows;
  return inside && mWalkable[CellIndex(cell)] != 0;
}

TPoint TWaitressPathfinding::GetCellPoint(TCellRef cell) const {
  return {mLeft + cell.column * mCellSize, mTop + cell.row * mCellSize};
}

TCellRef TWaitressPathfinding::PointToCell(TPoint point) const {
  if (mColumns == 0 || mRows == 0) return {};
  // Floor division, so points left of or above the grid clamp to its first cells.
  auto index = [this](int32_t offset, int32_t count) {
    int32_t i = offset >= 0 ? offset / mCellSize : -1;
    return std::clamp(i, 0, count - 1);
  };
  TCellRef cell{index(point.x - mLeft, mColumns), index(point.y - mTop, mRows)};
  while (!IsCellWalkable(cell) && cell.row < mRows - 1) ++cell.row;
  return cell;
}

std::vector<TCellRef> TWaitressPathfinding::GetNeighbours(TCellRef cell) const {
  TCellRef neighbours[8];
  return {neighbours, neighbours + FillNeighbours(cell, neighbours)};
}

int TWaitressPathfinding::FillNeighbours(TCellRef cell, TCellRef* out) const {
  static constexpr TCellRef kOffsets[] = {{0, -1},  {-1, 0}, {1, 0},  {0, 1},
                                          {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  int count = 0;
  for (const TCellRef& offset : kOffsets) {
    TCellRef next{cell.column + offset.column, cell.row + offset.row};
    if (IsCellWalkable(next)) out[count++] = next;
  }
  return count;
}

float TWaitressPathfinding::CellDistance(TCellRef a, TCellRef b) const {
  int64_t dx = static_cast<int64_t>(b.column - a.column) * mCellSize;
  int64_t dy = static_cast<int64_t>(b.row - a.row) * mCellSize;
  return static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
}

float TWaitressPathfinding::GetPathLength(const std::vector<TCellRef>& cells) const {
  float length = 0;
  for (size_t i = 1; i < cells.size(); ++i) length += CellDistance(cells[i - 1], cells[i]);
  return length;
}

bool TWaitressPathfinding::PathEndsAt(TPoint point, const std::vector<TPoint>& path) const {
  if (path.empty()) return true;
  return PointToCell(path.back()) == PointToCell(point);
}

void TWaitressPathfinding::ClearRequest() {
  mCandidates.clear();
  mOpen.clear();
  std::fill(mClosed.begin(), mClosed.end(), 0);
}

void TWaitressPathfinding::PushCandidate(TCellRef cell, int32_t parent, float g) {
  float h = CellDistance(cell, mGoal);
  mCandidates.push_back({cell, parent, g, h});
  mOpen.push_back({g + h, static_cast<int32_t>(mCandidates.size() - 1)});
  std::push_heap(mOpen.begin(), mOpen.end(), TLaterInOpenList());
}

std::vector<TPoint> TWaitressPathfinding::FindPath(TPoint from, TPoint to) {
  ClearRequest();
  if (mColumns == 0 || mRows == 0) return {};
  TCellRef start = PointToCell(from);
  mGoal = PointToCell(to);
  // Targets pushed past the room's edges are walked to at the edge instead.
  mTarget = {std::clamp(to.x, mLeft, mLeft + mColumns * mCellSize - 1),
             std::clamp(to.y, mTop, mTop + mRows * mCellSize - 1)};
  if (start == mGoal) return {GetCellPoint(mGoal)};
  PushCandidate(start, -1, 0.0f);
  return Search(kSearchBudgetMs);
}

std::vector<TPoint> TWaitressPathfinding::Search(int32_t budgetMs) {
  const uint32_t started = TPlatform::GetTime();
  while (!mOpen.empty()) {
    const int32_t best = mOpen.front().candidate;
    const TCandidate candidate = mCandidates[best];
    if (candidate.cell == mGoal) {
      std::pop_heap(mOpen.begin(), mOpen.end(), TLaterInOpenList());
      mOpen.pop_back();
      return FinishedPath(best);
    }
    // The candidate stays on top, so the next search resumes from it.
    if (static_cast<int64_t>(TPlatform::GetTime() - started) > budgetMs) {
      return CandidatePoints(best);
    }
    std::pop_heap(mOpen.begin(), mOpen.end(), TLaterInOpenList());
    mOpen.pop_back();
    uint8_t& closed = mClosed[CellIndex(candidate.cell)];
    if (closed) continue;
    closed = 1;
    TCellRef neighbours[8];
    int count = FillNeighbours(candidate.cell, neighbours);
    for (const TCellRef& next : std::span(neighbours, count)) {
      if (mClosed[CellIndex(next)]) continue;
      PushCandidate(next, best, candidate.g + CellDistance(candidate.cell, next));
    }
  }
  return {};
}

std::vector<TPoint> TWaitressPathfinding::CandidatePoints(int32_t candidate) const {
  std::vector<TPoint> points;
  for (int32_t at = candidate; at >= 0; at = mCandidates[at].parent) {
    points.push_back(GetCellPoint(mCandidates[at].cell));
  }
  std::reverse(points.begin(), points.end());
  return points;
}

std::vector<TPoint> TWaitressPathfinding::FinishedPath(int32_t candidate) const {
  // The character already stands in the start cell, and ends at the exact target rather than
  // the goal cell's corner.
  std::vector<TPoint> points = CandidatePoints(candidate);
  points.erase(points.begin());
  if (!points.empty()) points.pop_back();
  points.push_back(mTarget);
  return points;
}
