// The cost of the event pump and the frame end per call, on the headless window backend:
// what each engine event and each frame adds to a frame.
#include <benchmark/benchmark.h>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"

namespace {

struct TPumpFixture {
  TPumpFixture() { platform.CreateMainWindow(std::make_unique<THeadlessWindowBackend>()); }
  TPlatformData data;
  TAppPlatform platform{&data};
};

// A key press posted and turned into its engine event (plus the translated character).
void BM_KeyMessageToEvent(benchmark::State& state) {
  TPumpFixture f;
  TPlatformEvent event;
  for (auto _ : state) {
    f.data.window->PostMessage(WM_KEYDOWN, 'A', 0);
    f.platform.GetEvent(&event);
    benchmark::DoNotOptimize(event);
  }
}
BENCHMARK(BM_KeyMessageToEvent);

// The idle tick's work without its wait: no message waiting, the platform task list run with
// `range(0)` due tasks. The headless backend returns from the wait at once; in the game the
// wait lasts until a message, the earliest due task or the next frame tick (16 ms).
void BM_IdleTickWorkWithoutWait(benchmark::State& state) {
  struct TNoop : TTask {
    bool Run() override { return true; }
  };
  TPumpFixture f;
  for (int i = 0; i < state.range(0); ++i) f.platform.AddTask(new TNoop);
  TPlatformEvent event;
  for (auto _ : state) {
    f.platform.GetEvent(&event);
    benchmark::DoNotOptimize(event);
  }
}
BENCHMARK(BM_IdleTickWorkWithoutWait)->Arg(0)->Arg(100);

// The frame end's frame-rate bookkeeping (no display handler, no overlay).
void BM_EndFrame(benchmark::State& state) {
  TPumpFixture f;
  for (auto _ : state) f.platform.EndFrame(true);
  benchmark::DoNotOptimize(f.data.framesPerSecond);
}
BENCHMARK(BM_EndFrame);

}  // namespace
