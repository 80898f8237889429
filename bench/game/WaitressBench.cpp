// The characters' play tick: three servers and the planner walking between spots of a
// reception room of 12 guest tables, each sent to its next spot as soon as it stands still.
// One iteration is one 16 ms tick of all four (their walk, animation choice and carried-item
// placing); the path searches of new walks fall inside the ticks that start them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/BenchPlatform.h"
#include "game/room/TFestraWaitress.h"
#include "tests/render/TestImages.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/core/TTaskList.h"

namespace {

constexpr int kTickMs = 16;

std::vector<TRect> BanquetTables() {
  std::vector<TRect> tables;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      const int x = 60 + column * 180, y = 180 + row * 130;
      tables.push_back({x, y, x + 100, y + 70});
    }
  }
  tables.push_back({20, 20, 320, 120});   // serving table
  tables.push_back({340, 30, 560, 110});  // head table
  return tables;
}

// A platform whose assets hold a two-frame animation for every state of the first look.
struct TRoomRig : TBenchPlatform {
  TRoomRig() {
    const std::filesystem::path red = dir / "assets/images/character/Red";
    std::filesystem::create_directories(red);
    WritePng((red / "sheet.png").string(), SolidRgba(60, 60, 0xFFFFFFFF));
    const std::string xml =
        "<sequence><img name=\"sheet.png\"/><framelist>"
        "<frame x=\"0\" w=\"30\" h=\"60\" regx=\"15\" regy=\"59\"/>"
        "<frame x=\"30\" w=\"30\" h=\"60\" regx=\"15\" regy=\"59\"/></framelist></sequence>";
    for (const char* state :
         {"idle", "idle1", "idle2", "west0", "west1", "west2", "south0", "south1", "south2",
          "north0", "north1", "north2", "east0", "east1", "east2", "amb1", "1amb1", "2amb1"}) {
      std::ofstream(red / ("waitress_red_" + std::string(state) + ".xml")) << xml;
    }
    Start(false);
  }
};

void BM_FourCharactersTick(benchmark::State& state) {
  TRoomRig rig;
  TvSrand(5);
  const std::vector<TRect> tables = BanquetTables();
  // Spots below each guest table, where servers hand things over.
  std::vector<TPoint> spots;
  for (size_t i = 0; i < 12; ++i) spots.push_back({tables[i].left + 50, tables[i].bottom + 5});
  std::vector<std::shared_ptr<TFestraWaitress>> characters;
  for (int i = 0; i < 4; ++i) {
    auto character = TFestraWaitress::Create(700);
    if (i < 3) {
      character->SetLook(0);
      character->SetRole(TFestraWaitress::kServer);
    } else {
      // The planner, on the same pictures.
      for (int s = 0; s < 10; ++s) {
        character->AddState("assets/images/character/Red/waitress_red_idle.xml");
      }
      character->SetRole(TFestraWaitress::kPlanner);
    }
    character->SetObstacles(tables);
    character->SetStartPosition(200 + 150 * i, 580);
    character->SetSpeed(i == 3 ? 160.0f : 120.0f);
    characters.push_back(character);
  }
  size_t next = 0;
  for (auto _ : state) {
    rig.clock.now += kTickMs;
    rig.platform->GetTaskList()->Run(kTimerPhase);
    for (const auto& character : characters) {
      character->Update(kTickMs);
      if (character->GetPath().empty()) {
        const TPoint spot = spots[next++ % spots.size()];
        character->WalkTo(spot.x, spot.y);
      }
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FourCharactersTick)->Unit(benchmark::kMicrosecond);

}  // namespace
