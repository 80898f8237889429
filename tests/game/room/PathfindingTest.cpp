// The grid pathfinder: the grid and its cell mapping, exact paths over small rooms, the time
// budget on a stepped clock, and agreement with a plain re-sorted open list on random rooms.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <tuple>
#include <vector>

#include "game/room/TWaitressPathfinding.h"
#include "tests/support/FakeClock.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/TRandom.h"

using Points = std::vector<TPoint>;

// Comparison and printing for points and cells, found by argument lookup.
bool operator==(TPoint a, TPoint b) {
  return a.x == b.x && a.y == b.y;
}

void PrintTo(TPoint p, std::ostream* out) {
  *out << "(" << p.x << "," << p.y << ")";
}

void PrintTo(TCellRef c, std::ostream* out) {
  *out << "[" << c.column << "," << c.row << "]";
}

namespace {

// Where the fake clocks start: they wrap during the tests.
constexpr uint32_t kWrappingStart = 0xfffff000;

// A 200 x 200 room of 10 x 10 cells.
TWaitressPathfinding SmallRoom(const std::vector<TRect>& obstacles) {
  TWaitressPathfinding finder;
  finder.BuildGrid(0, 0, 200, 200, obstacles, 20);
  return finder;
}

TWaitressPathfinding FullRoom(const std::vector<TRect>& obstacles) {
  TWaitressPathfinding finder;
  finder.BuildGrid(0, 0, 800, 600, obstacles, 20);
  return finder;
}

bool AreNeighbours(TPoint a, TPoint b) {
  int dx = std::abs(a.x - b.x), dy = std::abs(a.y - b.y);
  return (dx == 20 || dx == 0) && (dy == 20 || dy == 0) && dx + dy > 0;
}

TEST(PathfindingGrid, CornersOnRectangleEdgesAreBlocked) {
  std::vector<TRect> obstacles = {{100, 100, 140, 120}};
  struct Case {
    TPoint point;
    bool walkable;
  } cases[] = {{{100, 100}, false}, {{140, 120}, false}, {{120, 110}, false},
               {{99, 100}, true},   {{141, 120}, true},  {{100, 121}, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(TWaitressPathfinding::IsWalkable(c.point, obstacles), c.walkable)
        << c.point.x << "," << c.point.y;
  }
  EXPECT_TRUE(TWaitressPathfinding::IsWalkable({100, 100}, {}));

  TWaitressPathfinding finder = FullRoom(obstacles);
  EXPECT_EQ(finder.GetColumnCount(), 40);
  EXPECT_EQ(finder.GetRowCount(), 30);
  std::vector<TCellRef> blocked;
  for (int column = 0; column < 40; ++column) {
    for (int row = 0; row < 30; ++row) {
      if (!finder.IsCellWalkable({column, row})) blocked.push_back({column, row});
    }
  }
  EXPECT_EQ(blocked, (std::vector<TCellRef>{{5, 5}, {5, 6}, {6, 5}, {6, 6}, {7, 5}, {7, 6}}));
}

TEST(PathfindingGrid, ShapeTruncatesAndOffsetsCorners) {
  TWaitressPathfinding finder;
  finder.BuildGrid(10, 30, 75, 95, {{30, 50, 30, 50}}, 20);
  EXPECT_EQ(finder.GetColumnCount(), 3);
  EXPECT_EQ(finder.GetRowCount(), 3);
  EXPECT_EQ(finder.GetCellPoint({2, 1}), (TPoint{50, 50}));
  EXPECT_FALSE(finder.IsCellWalkable({1, 1}));
  EXPECT_EQ(finder.PointToCell({35, 55}), (TCellRef{1, 2}));

  finder.BuildGrid(0, 0, 800, 600, {}, 0);
  EXPECT_EQ(finder.GetColumnCount(), 0);
  EXPECT_TRUE(finder.FindPath({10, 10}, {300, 300}).empty());
  EXPECT_TRUE(finder.Search(100).empty());
  EXPECT_EQ(finder.PointToCell({10, 10}), (TCellRef{0, 0}));
}

TEST(PathfindingGrid, PointToCellSlidesDownAndClampsIntoTheGrid) {
  // Columns 3 to 5 blocked in rows 2 to 4; column 9 blocked in its last two rows.
  TWaitressPathfinding finder = SmallRoom({{60, 40, 100, 80}, {180, 160, 180, 199}});
  struct Case {
    TPoint point;
    TCellRef cell;
  } cases[] = {
      {{25, 25}, {1, 1}},   {{39, 39}, {1, 1}},   {{65, 45}, {3, 5}},  {{100, 80}, {5, 5}},
      {{185, 165}, {9, 9}}, {{-1, -1}, {0, 0}},   {{-45, 30}, {0, 1}}, {{250, 10}, {9, 0}},
      {{199, 199}, {9, 9}}, {{200, 200}, {9, 9}}, {{70, -20}, {3, 0}}, {{70, 999}, {3, 9}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(finder.PointToCell(c.point), c.cell) << c.point.x << "," << c.point.y;
  }
}

TEST(PathfindingGrid, NeighboursComeInTheFixedOrder) {
  TWaitressPathfinding open = SmallRoom({});
  EXPECT_EQ(
      open.GetNeighbours({5, 5}),
      (std::vector<TCellRef>{{5, 4}, {4, 5}, {6, 5}, {5, 6}, {4, 4}, {6, 4}, {4, 6}, {6, 6}}));
  EXPECT_EQ(open.GetNeighbours({0, 0}), (std::vector<TCellRef>{{1, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(open.GetNeighbours({9, 9}), (std::vector<TCellRef>{{9, 8}, {8, 9}, {8, 8}}));
  // Both cells beside the diagonal blocked: the diagonal is still a neighbour.
  TWaitressPathfinding squeezed = SmallRoom({{20, 0, 20, 0}, {0, 20, 0, 20}});
  EXPECT_EQ(squeezed.GetNeighbours({0, 0}), (std::vector<TCellRef>{{1, 1}}));
}

TEST(PathfindingGrid, PathLengthSumsCornerDistances) {
  TWaitressPathfinding finder = SmallRoom({});
  EXPECT_EQ(finder.GetPathLength({}), 0.0f);
  EXPECT_EQ(finder.GetPathLength({{3, 3}}), 0.0f);
  EXPECT_EQ(finder.GetPathLength({{3, 3}, {3, 4}}), 20.0f);
  EXPECT_EQ(finder.GetPathLength({{3, 3}, {4, 4}}), 28.284271f);
  EXPECT_EQ(finder.GetPathLength({{0, 0}, {1, 0}, {2, 1}, {5, 5}}), 20.0f + 28.284271f + 100.0f);
}

TEST(PathfindingSearch, RoomsAndTargetsGiveTheirExactPaths) {
  TFakeClock frozen(kWrappingStart, 0);  // the budget never runs out, however slow the machine
  // Columns 3 to 5, rows 2 to 4 blocked.
  const std::vector<TRect> block = {{60, 40, 100, 80}};
  // The eight cells around (5, 5) blocked, the cell itself open.
  const std::vector<TRect> ring = {
      {80, 80, 120, 80}, {80, 120, 120, 120}, {80, 80, 80, 120}, {120, 80, 120, 120}};
  // Column 9 blocked in rows 8 and 9.
  const std::vector<TRect> corner = {{180, 160, 180, 199}};
  // Column 3 blocked from row 0 to row 7.
  const std::vector<TRect> wall = {{60, 0, 60, 140}};
  // Cells (1, 0) and (0, 1) blocked.
  const std::vector<TRect> squeeze = {{20, 0, 20, 0}, {0, 20, 0, 20}};
  // Shortest paths round either side tie; the left side's cells come up first.
  const Points aroundBlock = {{60, 20},  {40, 40},  {40, 60},  {40, 80}, {40, 100},
                              {60, 120}, {60, 140}, {60, 160}, {85, 190}};
  const Points aroundWall = {{40, 20},  {40, 40},  {40, 60},  {40, 80},  {40, 100}, {40, 120},
                             {40, 140}, {60, 160}, {80, 140}, {80, 120}, {80, 100}, {80, 80},
                             {80, 60},  {80, 40},  {80, 20},  {105, 5}};
  struct Case {
    const char* name;
    std::vector<TRect> obstacles;
    TPoint from, to;
    Points path;
  } cases[] = {
      {"same cell: the cell corner", {}, {25, 25}, {35, 38}, {{20, 20}}},
      {"next cell: the target alone", {}, {25, 25}, {47, 30}, {{47, 30}}},
      {"diagonal next cell", {}, {25, 25}, {5, 5}, {{5, 5}}},
      {"straight along the top", {}, {5, 5}, {65, 5}, {{20, 0}, {40, 0}, {65, 5}}},
      {"diagonal across", {}, {5, 5}, {70, 70}, {{20, 20}, {40, 40}, {70, 70}}},
      {"knight's move: straight first", {}, {5, 5}, {45, 25}, {{20, 0}, {45, 25}}},
      {"into an obstacle", block, {65, 185}, {65, 45}, {{60, 160}, {60, 140}, {60, 120}, {65, 45}}},
      {"round the obstacle", block, {85, 5}, {85, 190}, aroundBlock},
      {"round the wall", wall, {25, 5}, {105, 5}, aroundWall},
      {"diagonal squeeze", squeeze, {5, 5}, {45, 45}, {{20, 20}, {45, 45}}},
      {"enclosed goal", ring, {5, 5}, {105, 105}, {}},
      {"from inside the ring", ring, {105, 105}, {5, 5}, {}},
      {"blocked last row", corner, {5, 5}, {185, 185}, {}},
      {"blocked last row, same cell", corner, {185, 170}, {190, 199}, {{180, 180}}},
      {"past the bottom right", {}, {150, 150}, {260, 230}, {{160, 160}, {199, 199}}},
      {"past the top left", {}, {50, 50}, {-40, -5}, {{20, 20}, {0, 0}}},
  };
  for (const Case& c : cases) {
    TWaitressPathfinding finder = SmallRoom(c.obstacles);
    EXPECT_EQ(finder.FindPath(c.from, c.to), c.path) << c.name;
  }
}

TEST(PathfindingSearch, PathEndsAtComparesCells) {
  TWaitressPathfinding finder = SmallRoom({{60, 40, 100, 80}});
  EXPECT_TRUE(finder.PathEndsAt({5, 5}, {}));
  EXPECT_TRUE(finder.PathEndsAt({25, 25}, {{0, 0}, {39, 21}}));
  EXPECT_FALSE(finder.PathEndsAt({25, 25}, {{0, 0}, {40, 21}}));
  // A click inside the obstacle and the corner below it are one cell.
  EXPECT_TRUE(finder.PathEndsAt({65, 45}, {{60, 100}}));
  EXPECT_TRUE(finder.PathEndsAt({500, 500}, {{199, 199}}));
}

// A full-room search that takes many expansions: round a long wall.
const std::vector<TRect> kLongWall = {{400, 0, 410, 560}, {100, 300, 380, 320}};

TEST(PathfindingBudget, SpentBudgetGivesPartialPathsThatResumeToTheSamePath) {
  Points whole;
  {
    TFakeClock frozen(kWrappingStart, 0);
    TWaitressPathfinding finder = FullRoom(kLongWall);
    whole = finder.FindPath({205, 105}, {605, 105});
  }
  ASSERT_GT(whole.size(), 30u);
  EXPECT_EQ(whole.back(), (TPoint{605, 105}));

  TFakeClock clock(kWrappingStart, 1);
  TWaitressPathfinding finder = FullRoom(kLongWall);
  Points path = finder.FindPath({205, 105}, {605, 105});
  int searches = 1;
  while (!finder.PathEndsAt({605, 105}, path)) {
    // A partial path runs from the start cell's corner through neighbouring cells.
    ASSERT_GT(path.size(), 0u);
    EXPECT_EQ(path.front(), (TPoint{200, 100}));
    for (size_t i = 1; i < path.size(); ++i) ASSERT_TRUE(AreNeighbours(path[i - 1], path[i]));
    path = finder.Search(TWaitressPathfinding::kSearchBudgetMs);
    ASSERT_LT(++searches, 100);
  }
  EXPECT_GT(searches, 2);
  EXPECT_EQ(path, whole);
}

TEST(PathfindingBudget, BudgetIsStrictAndTheGoalWinsOverTheClock) {
  TFakeClock clock(kWrappingStart, 200);
  TWaitressPathfinding finder = SmallRoom({});
  // Out of time before the first expansion: the start cell is the best partial path.
  EXPECT_EQ(finder.FindPath({5, 5}, {185, 5}), (Points{{0, 0}}));
  EXPECT_EQ(finder.Search(0), (Points{{0, 0}}));
  // One reading at the start and one per candidate: exactly the budget still expands.
  clock.step = 1;
  EXPECT_EQ(finder.Search(1), (Points{{0, 0}, {20, 0}}));
  clock.step = 0;
  EXPECT_EQ(
      finder.Search(0),
      (Points{
          {20, 0}, {40, 0}, {60, 0}, {80, 0}, {100, 0}, {120, 0}, {140, 0}, {160, 0}, {185, 5}}));
  // A goal on top of the open list is taken even when the time is up.
  clock.step = 200;
  EXPECT_EQ(finder.FindPath({5, 5}, {25, 5}), (Points{{0, 0}}));
  clock.step = 1;
  EXPECT_EQ(finder.Search(1), (Points{{25, 5}}));
}

TEST(PathfindingBudget, RebuildOfAnotherShapeEndsTheRequest) {
  TFakeClock clock(kWrappingStart, 200);
  TWaitressPathfinding finder = FullRoom(kLongWall);
  EXPECT_EQ(finder.FindPath({205, 105}, {605, 105}).size(), 1u);
  finder.BuildGrid(0, 0, 800, 600, {}, 20);
  clock.step = 0;
  EXPECT_EQ(finder.Search(100).back(), (TPoint{605, 105}));

  clock.step = 200;
  EXPECT_EQ(finder.FindPath({205, 105}, {605, 105}).size(), 1u);
  finder.BuildGrid(0, 0, 400, 300, {}, 20);
  clock.step = 0;
  EXPECT_TRUE(finder.Search(100).empty());
}

// The search as a list of whole paths, fully re-sorted by g + h after each expansion with
// equal costs kept in order; the pathfinder must return the same paths.
Points PlainSearch(const TWaitressPathfinding& grid, TPoint from, TPoint to) {
  struct Candidate {
    std::vector<TCellRef> cells;
    float h, g;
  };
  auto distance = [&](TCellRef a, TCellRef b) { return grid.GetPathLength({a, b}); };
  TCellRef start = grid.PointToCell(from), goal = grid.PointToCell(to);
  if (start == goal) return {grid.GetCellPoint(goal)};
  std::deque<Candidate> open = {{{start}, distance(start, goal), 0}};
  std::set<std::tuple<int, int>> closed;
  while (!open.empty()) {
    Candidate c = open.front();
    open.pop_front();
    TCellRef last = c.cells.back();
    if (last == goal) {
      Points points;
      for (size_t i = 1; i + 1 < c.cells.size(); ++i)
        points.push_back(grid.GetCellPoint(c.cells[i]));
      points.push_back(to);
      return points;
    }
    if (!closed.insert({last.row, last.column}).second) continue;
    for (TCellRef n : grid.GetNeighbours(last)) {
      if (closed.count({n.row, n.column})) continue;
      Candidate copy = c;
      copy.g = c.g + distance(last, n);
      copy.h = distance(n, goal);
      copy.cells.push_back(n);
      open.push_back(copy);
    }
    std::stable_sort(open.begin(), open.end(),
                     [](const Candidate& a, const Candidate& b) { return a.g + a.h < b.g + b.h; });
  }
  return {};
}

TEST(PathfindingSearch, AgreesWithAFullyResortedOpenList) {
  TFakeClock frozen(kWrappingStart, 0);
  TRandom random(7);
  auto below = [&](int n) { return random.Next() % n; };
  for (int room = 0; room < 40; ++room) {
    std::vector<TRect> obstacles;
    for (int i = below(8); i > 0; --i) {
      int x = below(300), y = below(200);
      obstacles.push_back({x, y, x + below(120), y + below(60)});
    }
    TWaitressPathfinding finder;
    finder.BuildGrid(0, 0, 300, 200, obstacles, 20);
    for (int trip = 0; trip < 5; ++trip) {
      TPoint from{below(300), below(200)}, to{below(300), below(200)};
      ASSERT_EQ(finder.FindPath(from, to), PlainSearch(finder, from, to))
          << "room " << room << " from " << from.x << "," << from.y << " to " << to.x << ","
          << to.y;
    }
  }
}

}  // namespace
