// Special effects per frame on the software display: 20 effect groups live at once, each a
// particle effect (a steady stream of about 40 particles), a turning, pulsing sprite, an
// outlined text that grows over its life and a sound, updated and drawn once per 800 x 600
// frame as a level does. The figure to read is the time per frame beyond the empty frame
// (kinds:0); each kind alone shows where it goes, and the update alone what the effects cost
// without the rasteriser.
#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/support/BenchPlatform.h"
#include "game/fx/TEffectParams.h"
#include "game/fx/TSpecialEffectList.h"
#include "tests/render/TestImages.h"
#include "tests/support/OggEncoder.h"

namespace {

constexpr int kGroups = 20;
constexpr float kFrameSeconds = 0.016f;

// The entries of one group: particles streaming about the point, a badge, a caption and a
// chime. A benchmark's argument picks them as bits (1, 2, 4, 8; 0 leaves the frame empty).
const char* const kEntries[] = {
    "{ type = 'particles', position = 'fromgame', particles_script = [["
    "    gen = NewParticleGenerator() "
    "    function Init() SetTexture('fx/spark') SetNumParticles(64) end "
    "    function Update(ms) "
    "      InitVelocity('vRange', Vec3(-60, -120, 0), Vec3(60, -30, 0)) "
    "      CreateParticles(gen(50, ms)) "
    "      Do('move') Gravity(90) DoAge('iAge') "
    "      DoColor('cFade', Color(1, 1, 1, 1), 800, Color(1, 1, 1, 0)) "
    "      Do('expire', 800) end ]] }, ",
    "{ type = 'sprite', position = 'fromgame', texture_name = 'fx/badge', "
    "  rotation_speed = 90, pulse_interval = 0.3, start_scale = 1, end_scale = 1.5 }, ",
    "{ type = 'text', position = 'fromgame', position_offset = { x = 0, y = -40 }, "
    "  duration = 1000, start_scale = 1, end_scale = 2, font_size = 30, outline = 'fromgame', "
    "  color = { r = 1, g = 0.8, b = 0.3 } }, ",
    "{ type = 'sound', sound_name = 'fx/chime.ogg', duration = 1000 }, "};

std::string GroupFile(int64_t kinds) {
  std::string file = "sfx_list = { ";
  for (int i = 0; i < 4; ++i)
    if (kinds & (int64_t{1} << i)) file += kEntries[i];
  return file + "}";
}

// A platform on the headless display with the group's images and sound in its assets.
struct TEffectsRig : TBenchPlatform {
  TEffectsRig() {
    std::filesystem::create_directories(dir / "assets/fx");
    WritePng(dir / "assets/fx/spark.png", SolidRgba(16, 16, 0xFFE0A0C0u));
    WritePng(dir / "assets/fx/badge.png", SolidRgba(32, 32, 0xD9667AFFu));
    std::ofstream(dir / "assets/fx/chime.ogg", std::ios::binary)
        << EncodeOgg(44100, 1, 4410, [](long i, int) { return 0.3f * std::sin(0.06f * i); });
    Start(true);
  }
};

void BM_EffectGroupsFrame(benchmark::State& state) {
  TEffectsRig rig;
  TSpecialEffectList list;
  const std::string group = GroupFile(state.range(0));
  for (int i = 0; i < kGroups; ++i) {
    TEffectParams params;
    params.position = TVec2(60.0f + 35.0f * static_cast<float>(i), 120.0f + 20.0f * (i % 5));
    params.text = TString::Format("+%d", 50 * (i + 1));
    params.outlineSize = 2;
    list.LoadFromMemory(group.data(), group.size(), &params);
  }
  // A second of play first, so the particle streams run at their steady count.
  for (int i = 0; i < 60; ++i) list.Update(kFrameSeconds);
  if (list.GetCount() != std::popcount(static_cast<uint64_t>(state.range(0))) * kGroups)
    std::abort();
  for (auto _ : state) {
    rig.clock.now += 16;
    list.Update(kFrameSeconds);
    rig.BeginFrame();
    list.Draw(1.0f);
    rig.EndFrame();
  }
  state.SetItemsProcessed(state.iterations() * kGroups);
}
// All four kinds, the empty frame they are measured against, then each kind alone.
BENCHMARK(BM_EffectGroupsFrame)
    ->ArgName("kinds")
    ->Arg(15)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond);

// The same frame without drawing: what updating the 20 groups costs alone.
void BM_EffectGroupsUpdate(benchmark::State& state) {
  TEffectsRig rig;
  TSpecialEffectList list;
  const std::string group = GroupFile(15);
  for (int i = 0; i < kGroups; ++i) {
    TEffectParams params;
    params.position = TVec2(60.0f + 35.0f * static_cast<float>(i), 200.0f);
    params.text = "+100";
    list.LoadFromMemory(group.data(), group.size(), &params);
  }
  for (auto _ : state) list.Update(kFrameSeconds);
  state.SetItemsProcessed(state.iterations() * kGroups);
}
BENCHMARK(BM_EffectGroupsUpdate)->Unit(benchmark::kMillisecond);

}  // namespace
