// Walking paths for the servers and the planner across the reception room.
//
// The room is laid over a grid of square cells (20 px for the characters, 40 x 30 over the
// 800 x 600 room); a cell is walkable unless its top-left corner lies in one of the obstacle
// rectangles, edges included. FindPath runs an A* over the grid with 8 neighbours, taken in
// a fixed order, under a time budget on the platform clock: when the budget is spent the
// best partial path is returned and the next Search carries on the same request. A path is
// a list of room points: the cell corners between start and goal, then the exact target.
//
// Candidates of equal cost are taken oldest first, so paths are reproducible. Points off
// the grid are clamped into it, the exact target included. UI thread only; each character
// owns one.
#pragma once

#include <cstdint>
#include <vector>

#include "tvlib/core/TPoint.h"
#include "tvlib/core/TRect.h"

// A cell by its column and row.
struct TCellRef {
  int32_t column = 0;
  int32_t row = 0;
  bool operator==(const TCellRef&) const = default;
};

class TWaitressPathfinding {
 public:
  // The budget FindPath gives its first search, and the one characters give later ones.
  static constexpr int32_t kSearchBudgetMs = 100;

  TWaitressPathfinding() = default;
  virtual ~TWaitressPathfinding() = default;

  // (right - left) / cellSize columns of (bottom - top) / cellSize cells, each walkable when
  // its corner point is. A cell size below 1 leaves an empty grid, on which every search
  // answers an empty path. A rebuild of another shape ends the current request.
  void BuildGrid(int32_t left, int32_t top, int32_t right, int32_t bottom,
                 const std::vector<TRect>& obstacles, int32_t cellSize);

  // True when the point lies in none of the rectangles (edges count as inside).
  static bool IsWalkable(TPoint point, const std::vector<TRect>& obstacles);

  // The cell of a point, clamped into the grid; a blocked cell slides down its column to the
  // first walkable one, stopping at the last row. Cell (0, 0) on an empty grid.
  TCellRef PointToCell(TPoint point) const;

  // The walkable neighbours inside the grid: up, left, right, down, then the diagonals
  // up-left, up-right, down-left, down-right. A diagonal needs nothing of the cells beside it.
  std::vector<TCellRef> GetNeighbours(TCellRef cell) const;

  // Starts a new request and searches it for up to kSearchBudgetMs.
  std::vector<TPoint> FindPath(TPoint from, TPoint to);

  // Carries on the current request for up to `budgetMs`: the finished path, an empty one when
  // the goal cannot be reached, or on time-out the best partial path, start cell included.
  std::vector<TPoint> Search(int32_t budgetMs);

  // True when the path is empty or its last point lies in the point's cell.
  bool PathEndsAt(TPoint point, const std::vector<TPoint>& path) const;

  // The summed corner-to-corner distance of consecutive cells.
  float GetPathLength(const std::vector<TCellRef>& cells) const;

  int32_t GetColumnCount() const { return mColumns; }
  int32_t GetRowCount() const { return mRows; }
  // The cell's top-left corner in room pixels.
  TPoint GetCellPoint(TCellRef cell) const;
  // False outside the grid.
  bool IsCellWalkable(TCellRef cell) const;

 private:
  // One candidate of the open list: its last cell and the candidate it grew from.
  struct TCandidate {
    TCellRef cell;
    int32_t parent;  // -1 for the start
    float g;         // length of the path so far
    float h;         // straight distance from the last cell to the goal
  };
  // An open-list entry; ties in cost go to the older candidate (lower index).
  struct TOpenEntry {
    float cost;
    int32_t candidate;
  };

  int32_t CellIndex(TCellRef cell) const { return cell.column * mRows + cell.row; }
  float CellDistance(TCellRef a, TCellRef b) const;
  // GetNeighbours into `out` (room for 8); answers the count.
  int FillNeighbours(TCellRef cell, TCellRef* out) const;
  void ClearRequest();
  void PushCandidate(TCellRef cell, int32_t parent, float g);
  // The corner points of a candidate's cells, start first.
  std::vector<TPoint> CandidatePoints(int32_t candidate) const;
  std::vector<TPoint> FinishedPath(int32_t candidate) const;

  int32_t mLeft = 0, mTop = 0;
  int32_t mColumns = 0, mRows = 0;
  int32_t mCellSize = 1;
  std::vector<uint8_t> mWalkable;  // by CellIndex

  TCellRef mGoal;
  TPoint mTarget;
  std::vector<TCandidate> mCandidates;  // every candidate of the request, by age
  std::vector<TOpenEntry> mOpen;        // a heap, cheapest and oldest on top
  std::vector<uint8_t> mClosed;         // by CellIndex
};
