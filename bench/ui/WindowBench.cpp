// The window layer on a main-menu-sized tree of 300 windows (a root screen, 9 panels, 60
// buttons, 100 texts and 130 other pictures, all plain windows) over the real display handler
// on the headless presenter: routing mouse moves, the idle frame step, and the frame step
// with one small dirty button (with the pixels its windows redraw).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"
#include "tvlib/render/TDx3dDisplayHandler.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// Counts the pixels of the area each window redraws.
int64_t gPixelsDrawn = 0;

struct TCountingWindow : TWindow {
  bool hoverTaker = false;
  void Draw() override {
    const TRect area = GetDirtyRect() ? *GetDirtyRect() : GetLocalRect();
    gPixelsDrawn += int64_t{area.right - area.left} * (area.bottom - area.top);
  }
  bool OnMouseMove(TPoint*) override { return hoverTaker; }
};

struct TCountingScreen : TScreen {
  void Draw() override {
    const TRect area = GetDirtyRect() ? *GetDirtyRect() : GetLocalRect();
    gPixelsDrawn += int64_t{area.right - area.left} * (area.bottom - area.top);
    TScreen::Draw();
  }
};

TCountingWindow* Place(TWindow* parent, int left, int top, int width, int height) {
  auto* w = new TCountingWindow;
  w->SetPosition(left, top);
  w->SetSize(width, height);
  parent->AddChild(w, false);
  return w;
}

struct TMenuFixture {
  TMenuFixture() {
    platform.CreateMainWindow(std::make_unique<THeadlessWindowBackend>());
    auto* handler = new TDx3dDisplayHandler(std::make_unique<sd::THeadlessPresenter>(), &platform);
    platform.SetDisplayHandler(handler);
    handler->SetDisplay(800, 600, false, false, false, false);
    auto* screen = new TCountingScreen;
    const float fill[4] = {0.1f, 0.1f, 0.2f, 1.0f};
    screen->SetFill(true, fill);
    data.windowManager->SetRootWindow(screen);
    int buttons = 0, texts = 0, others = 0;
    for (int p = 0; p < 9; ++p) {
      TWindow* panel = Place(screen, (p % 3) * 266 + 4, (p / 3) * 200 + 4, 258, 192);
      for (int i = 0; i < 7 && buttons < 60; ++i, ++buttons) {
        TCountingWindow* button = Place(panel, 8, 8 + i * 26, 110, 22);
        button->hoverTaker = true;
        this->buttons.push_back(button);
      }
      for (int i = 0; i < 12 && texts < 100; ++i, ++texts) Place(panel, 124, 4 + i * 15, 128, 14);
      for (int i = 0; i < 15 && others < 130; ++i, ++others) {
        Place(panel, 4 + (i % 5) * 50, 150 + (i / 5) * 12, 46, 10);
      }
    }
    // Fill up to 300 with the remaining texts and pictures on the screen itself.
    for (; texts < 100; ++texts) Place(screen, 10 + texts, 590, 1, 1);
    for (; others < 130; ++others) Place(screen, 400 + others, 590, 1, 1);
    Tick();  // the first frame draws everything
  }
  void Tick() {
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    data.windowManager->HandleEvent(&tick);
  }

  TPlatformData data;
  TAppPlatform platform{&data};
  std::vector<TCountingWindow*> buttons;
};

void BM_RouteMouseMove(benchmark::State& state) {
  TMenuFixture f;
  std::vector<TPlatformEvent> moves(10000);
  uint32_t seed = 12345;
  for (TPlatformEvent& e : moves) {
    seed = seed * 1664525u + 1013904223u;
    e = TPlatformEvent{kEventMouseMove, 0, static_cast<int32_t>((seed >> 8) % 800),
                       static_cast<int32_t>((seed >> 20) % 600), 0};
  }
  size_t i = 0;
  for (auto _ : state) {
    f.data.windowManager->HandleEvent(&moves[i]);
    i = (i + 1) % moves.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RouteMouseMove);

void BM_FrameStepIdle(benchmark::State& state) {
  TMenuFixture f;
  gPixelsDrawn = 0;
  for (auto _ : state) f.Tick();
  state.counters["pixels_per_frame"] = benchmark::Counter(static_cast<double>(gPixelsDrawn) /
                                                          static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FrameStepIdle);

void BM_FrameStepOneDirtyButton(benchmark::State& state) {
  TMenuFixture f;
  TCountingWindow* button = f.buttons[17];
  gPixelsDrawn = 0;
  for (auto _ : state) {
    button->Invalidate();
    f.Tick();
  }
  state.counters["pixels_per_frame"] = benchmark::Counter(static_cast<double>(gPixelsDrawn) /
                                                          static_cast<double>(state.iterations()));
  state.counters["button_pixels"] =
      benchmark::Counter(static_cast<double>(button->GetWidth() * button->GetHeight()));
}
BENCHMARK(BM_FrameStepOneDirtyButton);

}  // namespace
