// Path searches across a reception room of 12 guest tables, the serving table and the head
// table: 100 searches between fixed spots, and one search from corner to corner.
#include <benchmark/benchmark.h>

#include <vector>

#include "game/room/TWaitressPathfinding.h"
#include "tvlib/core/TRandom.h"

namespace {

std::vector<TRect> BanquetObstacles() {
  std::vector<TRect> obstacles;
  // Three rows of four guest tables, each 100 x 70.
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      int x = 60 + column * 180, y = 180 + row * 130;
      obstacles.push_back({x, y, x + 100, y + 70});
    }
  }
  obstacles.push_back({20, 20, 320, 120});   // serving table
  obstacles.push_back({340, 30, 560, 110});  // head table
  obstacles.push_back({600, 40, 680, 100});  // cake table
  return obstacles;
}

// Spots beside the tables, as servers walk between them.
std::vector<TPoint> Spots() {
  std::vector<TPoint> spots;
  TRandom random(3);
  while (spots.size() < 101) spots.push_back({random.Next() % 800, random.Next() % 600});
  return spots;
}

void BM_HundredSearches(benchmark::State& state) {
  TWaitressPathfinding finder;
  finder.BuildGrid(0, 0, 800, 600, BanquetObstacles(), 20);
  std::vector<TPoint> spots = Spots();
  for (auto _ : state) {
    for (size_t i = 0; i + 1 < spots.size(); ++i) {
      benchmark::DoNotOptimize(finder.FindPath(spots[i], spots[i + 1]));
    }
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_HundredSearches)->Unit(benchmark::kMillisecond);

void BM_FullRoomSearch(benchmark::State& state) {
  TWaitressPathfinding finder;
  finder.BuildGrid(0, 0, 800, 600, BanquetObstacles(), 20);
  for (auto _ : state) benchmark::DoNotOptimize(finder.FindPath({5, 5}, {795, 595}));
}
BENCHMARK(BM_FullRoomSearch)->Unit(benchmark::kMicrosecond);

// The worst case: an unreachable goal exhausts every reachable cell of the room.
void BM_UnreachableGoal(benchmark::State& state) {
  std::vector<TRect> obstacles = BanquetObstacles();
  obstacles.push_back({740, 540, 799, 540});
  obstacles.push_back({740, 540, 740, 599});
  TWaitressPathfinding finder;
  finder.BuildGrid(0, 0, 800, 600, obstacles, 20);
  for (auto _ : state) benchmark::DoNotOptimize(finder.FindPath({5, 5}, {795, 595}));
}
BENCHMARK(BM_UnreachableGoal)->Unit(benchmark::kMicrosecond);

}  // namespace
