// A serving frame of a full level on the headless display at 800 x 600: eight tables of eight
// chairs with a guest on every chair, the heroine, a server and the room's props, loaded from a
// level script through the level's ten loading steps over the game's packed art. One frame is
// the level's 20 ms tick and its drawing; beside it, a memcpy of one 800 x 600 frame of 32-bit
// pixels, the floor any frame costs.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/BenchPlatform.h"
#include "game/level/TGameLevel.h"
#include "game/room/TFestraChair.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraTable.h"
#include "game/shell/LevelLaunch.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

constexpr int kTables = 8;
constexpr int kChairs = 8;
constexpr int kWidth = 800, kHeight = 600;

std::string LevelScript() {
  std::string tables;
  for (int i = 0; i < kTables; ++i) {
    tables += "{ tableID = " + std::to_string(i + 1) +
              ", numChairs = 8, x = " + std::to_string(i % 2 == 0 ? 30 : 420) +
              ", y = " + std::to_string(170 + 100 * (i / 2)) +
              ", tableImage = \"images/table/table8\", markImage = \"images/table/mark_red\", "
              "color = \"red\" },\n";
  }
  return "basicSetting = { waitressSpeed1 = 300, velkaSpeed1 = 200 }\n"
         "levelSetting = { map = 1, level = 2, passScore = 50, highScore = 100, blaster = 1,\n"
         "  chair_image = \"images/table/chair\" }\n"
         "gameObject = { availableTables = {\n" +
         tables +
         "} }\n"
         "MakeDialog{ GameWindow{ name = \"GameWindow\", x = 0, y = 0, w = 800, h = 600 } }\n";
}

// The level loaded and serving, every chair taken.
struct TLevelRig : TBenchPlatform {
  TGameLevel* level = nullptr;

  TLevelRig() {
    for (const char* package : {"festravask.tvp", "fonts.tvp"}) {
      std::filesystem::create_symlink(std::string(TV_GAME_DIR) + "/assets/" + package,
                                      std::filesystem::path(dir / "assets") / package);
    }
    std::filesystem::create_directories(dir / "assets/scripts");
    std::ofstream(dir / "assets/scripts/game1.2.lua") << LevelScript();
    Start(true);
    TWindowManager& manager = *data->windowManager;
    auto* screen = new TScreen;
    manager.SetRootWindow(screen);
    screen->SetSize(kWidth, kHeight);
    manager.AttachScript(new TWindowScript());
    manager.GetWindowScript()->RegisterWindowType("GameWindow", &TGameLevel::Create);
    platform->SetSetting(TGameLevel::kSeedSetting, "1");
    if (!OpenLevelScript("assets/scripts/game1.2.lua")) std::abort();
    level = dynamic_cast<TGameLevel*>(manager.GetTopModal()->FindChild("GameWindow", -1));
    if (!level) std::abort();
    for (int i = 0; i <= TGameLevel::kLastLoadStep; ++i) Tick();
    level->PauseAction(1705);
    SeatGuests();
    level->SetGuestsTotal(1000);  // serving goes on
  }
  ~TLevelRig() {
    TWindowManager& manager = *data->windowManager;
    while (manager.GetModalStack().size() > 1) manager.PopModal();
    manager.DeletePending();
    manager.AttachScript(nullptr);
  }
  void Tick() {
    clock.now += TGameLevel::kTickMs;
    level->Tick();
  }
  void SeatGuests() {
    static const char* kMoods[] = {"idle",  "impatient", "eating", "dance",
                                   "happy", "seated",    "upset"};
    int n = 0;
    for (const auto& table : level->GetTables()) {
      for (int seat = 0; seat < table->GetChairCount(); ++seat, ++n) {
        const int type = n % 8;
        const std::string name = (type < 4 ? "female0" : "male0") + std::to_string(type % 4 + 1);
        std::vector<TString> animations;
        for (const char* mood : kMoods)
          animations.emplace_back(
              ("images/character/guests/" + name + "_" + mood + ".xml").c_str());
        auto guest = TFestraGuest::Create(0);
        guest->LoadAnimations(animations, type);
        guest->SetMaxPatience(60000);
        guest->SetPatience(60000);
        level->AddGuest(guest);
        guest->SetSeat(table, seat);
        const TRect chair = table->GetChair(seat)->GetSeatBounds();
        guest->SetPosition(static_cast<float>((chair.left + chair.right) / 2),
                           static_cast<float>(chair.bottom), kStoredAnchor);
        guest->LoopState(kAnimSeated);
      }
    }
  }
};

void BM_ServingFrame(benchmark::State& state) {
  TLevelRig rig;
  for (auto _ : state) {
    rig.Tick();
    rig.BeginFrame();
    rig.level->Draw();
    rig.EndFrame();
  }
  state.counters["guests"] = static_cast<double>(rig.level->GetGuests().size());
}
BENCHMARK(BM_ServingFrame)->Unit(benchmark::kMicrosecond);

void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<uint32_t> from(kWidth * kHeight, 0x80604020u), to(kWidth * kHeight);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMicrosecond);

}  // namespace
