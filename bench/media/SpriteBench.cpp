// Animated sprites on the software display, one 800 x 600 frame at a time: 500 sprites of
// 64 x 64 frames playing 8-frame animations (mixed layers, a third scaled) updated through
// the task list and drawn as one tree, beside the same 500 quads drawn straight through the
// platform as the reference; and the creation of animated sprites, each with its own script
// state, counted in time and heap bytes per sprite (counter bytes_per_sprite).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "bench/support/BenchPlatform.h"
#include "tests/render/TestImages.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/media/TAnimatedSprite.h"
#include "tvlib/media/TAnimatedTexture.h"
#include "tvlib/media/TSpriteQuad.h"

namespace {

constexpr int kSprites = 500;
constexpr uint32_t kFrameMs = 16;

// A platform on the headless display with an 8-frame 512 x 64 sheet in its assets.
struct TSpriteRig : TBenchPlatform {
  TSpriteRig() {
    TPngSpec sheet;
    sheet.width = 512;
    sheet.height = 64;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 512; ++x)
        for (uint8_t b : {uint8_t(x), uint8_t(y * 4), uint8_t(x ^ y), uint8_t(255 - (x & 63))})
          sheet.bytes.push_back(b);
    WritePng(dir / "assets/walk.png", sheet);
    std::string frames;
    for (int i = 0; i < 8; ++i)
      frames += "<frame x=\"" + std::to_string(64 * i) +
                "\" y=\"0\" w=\"64\" h=\"64\" regx=\"32\" regy=\"64\"/>";
    std::ofstream(dir / "assets/walk.xml")
        << "<sequence name=\"walk\"><img name=\"walk.png\"/><framelist>" << frames
        << "</framelist><script luascript=\"function DoAnim() delay(60); "
           "loop(1000000, {1,2,3,4,5,6,7,8}) end\"/></sequence>";
    Start(true);
  }
};

std::shared_ptr<TAnimatedSprite> MakeWalker(int layer) {
  auto sprite = TAnimatedSprite::Create(layer);
  sprite->StartAnimationScript();
  sprite->SetTexture(TAnimatedTexture::Get("walk", "", ""));
  sprite->RunScriptFunction("DoAnim");
  return sprite;
}

TVec2 PlaceOf(int i) {
  return TVec2(static_cast<float>(40 + (i * 37) % 720), static_cast<float>(70 + (i * 53) % 520));
}

// The tree: 500 walkers under one root, layers -2 to 2, every third one scaled.
std::shared_ptr<TSprite> MakeTree() {
  auto root = TSprite::Create(0);
  for (int i = 0; i < kSprites; ++i) {
    auto sprite = MakeWalker(i % 5 - 2);
    sprite->GetDrawSpec().SetPosition(PlaceOf(i));
    if (i % 3 == 0) sprite->SetScale(i % 2 ? 1.5f : 0.75f);
    root->AddChild(sprite);
  }
  return root;
}

void BM_AnimatedSpritesFrame(benchmark::State& state) {
  TSpriteRig rig;
  auto root = MakeTree();
  for (auto _ : state) {
    rig.clock.now += kFrameMs;
    rig.platform->GetTaskList()->Run(kTimerPhase);
    rig.BeginFrame();
    root->Draw(TDrawSpec(), -1);
    rig.EndFrame();
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_AnimatedSpritesFrame)->Unit(benchmark::kMillisecond);

// The same quads, built once and drawn straight through the platform.
void BM_StraightQuadsFrame(benchmark::State& state) {
  TSpriteRig rig;
  auto root = MakeTree();
  std::shared_ptr<TTexture> sheet = TAnimatedTexture::Get("walk", "", "");
  std::vector<TSpriteVertex> quads(4 * kSprites);
  for (int i = 0; i < kSprites; ++i) {
    const float scale = i % 3 == 0 ? (i % 2 ? 1.5f : 0.75f) : 1.0f;
    TDrawSpec spec(PlaceOf(i), 1.0f, scale, kSpecSourceRect | kSpecRegistration);
    spec.sourceRect = TRect{64 * (i % 8), 0, 64 * (i % 8) + 64, 64};
    spec.origin = TVec2(32, 64);
    BuildSpriteQuad(*sheet, spec, TVec2(0, 0), &quads[4 * static_cast<size_t>(i)]);
  }
  for (auto _ : state) {
    rig.BeginFrame();
    for (int i = 0; i < kSprites; ++i) {
      rig.platform->SetTexture(0, sheet);
      rig.platform->DrawVertices(6, TVertexSet(&quads[4 * static_cast<size_t>(i)], 4));
    }
    rig.EndFrame();
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_StraightQuadsFrame)->Unit(benchmark::kMillisecond);

void BM_CreateAnimatedSprites(benchmark::State& state) {
  TSpriteRig rig;
  const int count = static_cast<int>(state.range(0));
  auto keep = TAnimatedTexture::Get("walk", "", "");  // the shared sheet stays loaded
  std::vector<std::shared_ptr<TAnimatedSprite>> sprites;
  sprites.reserve(static_cast<size_t>(count));
  double bytes = 0;
  for (auto _ : state) {
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < count; ++i) sprites.push_back(MakeWalker(0));
    state.PauseTiming();
    bytes += static_cast<double>(mallinfo2().uordblks - before);
    sprites.clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["bytes_per_sprite"] =
      benchmark::Counter(bytes / static_cast<double>(count * state.iterations()));
}
BENCHMARK(BM_CreateAnimatedSprites)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
