// The room's props on the headless display: a state change of a state animation (a fresh
// script state, the generated DoAnim run and started), the generated DoAnim text alone, and
// one 20 ms tick of 200 moving items stepping toward their targets.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/BenchPlatform.h"
#include "game/room/TFestraStateAnim.h"
#include "game/room/TMovingParticle.h"
#include "tests/render/TestImages.h"

namespace {

// A platform on the headless display with an 8-frame animation and a small picture.
struct TRoomRig : TBenchPlatform {
  TRoomRig() {
    WritePng(dir / "assets/walk.png", SolidRgba(512, 64, 0x806040FFu));
    WritePng(dir / "assets/star.png", SolidRgba(16, 16, 0xFFD040FFu));
    std::string frames;
    for (int i = 0; i < 8; ++i)
      frames += "<frame x=\"" + std::to_string(64 * i) +
                "\" y=\"0\" w=\"64\" h=\"64\" regx=\"32\" regy=\"64\"/>";
    std::ofstream(dir / "assets/walk.xml")
        << "<sequence name=\"walk\"><img name=\"walk.png\"/><framelist>" << frames
        << "</framelist></sequence>";
    Start(true);
  }
};

void BM_StateChange(benchmark::State& state) {
  TRoomRig rig;
  auto anim = TFestraStateAnim::Create(0);
  anim->AddState("walk");
  anim->AddState("walk");
  int next = 0;
  for (auto _ : state) {
    anim->PlayState(next, 3);
    next ^= 1;
  }
  anim.reset();
}
BENCHMARK(BM_StateChange)->Unit(benchmark::kMicrosecond);

void BM_GeneratedDoAnim(benchmark::State& state) {
  for (auto _ : state) {
    TString text = TFestraStateAnim::MakeDoAnim(8, false, 3, 60);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_GeneratedDoAnim)->Unit(benchmark::kMicrosecond);

void BM_MovingItemsTick(benchmark::State& state) {
  TRoomRig rig;
  std::vector<std::shared_ptr<TMovingParticle>> items;
  for (int i = 0; i < 200; ++i) {
    auto item = TMovingParticle::Create(0);
    item->Setup("star", 400, 0, 0.05f);
    items.push_back(item);
  }
  int64_t ticks = 0;
  for (auto _ : state) {
    if (ticks++ % 500 == 0) {
      for (size_t i = 0; i < items.size(); ++i)
        items[i]->PlaceAt(static_cast<int>(i * 4 % 800), 600);
    }
    for (const auto& item : items) benchmark::DoNotOptimize(item->UpdateMove(20));
  }
}
BENCHMARK(BM_MovingItemsTick)->Unit(benchmark::kMicrosecond);

}  // namespace
