// What the benchmarks over a whole platform share: a temporary asset folder, a clock the
// benchmark steps itself, and the platform object, with an 800 x 600 display on a headless
// presenter when asked for. A benchmark writes its assets under `dir / "assets"`, then calls
// Start; a frame that cannot be drawn ends the process rather than timing nothing.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "tests/support/TempDir.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPlatformData.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/render/TDx3dDisplayHandler.h"

class TSteppedClock : public TClockSource {
 public:
  uint32_t Now() override { return now; }
  void Sleep(uint32_t ms) override { now += ms; }
  uint32_t now = 1000;
};

struct TBenchPlatform {
  TTempDir dir;
  TSteppedClock clock;
  std::unique_ptr<TPlatformData> data;
  std::unique_ptr<TAppPlatform> platform;

  TBenchPlatform() {
    SetClockSource(&clock);
    std::filesystem::create_directories(dir / "assets");
  }
  TBenchPlatform(const TBenchPlatform&) = delete;
  TBenchPlatform& operator=(const TBenchPlatform&) = delete;
  ~TBenchPlatform() {
    if (platform) platform->SetDisplayHandler(nullptr);
    platform.reset();
    data.reset();
    SetClockSource(nullptr);
  }

  // Mounts the assets written so far and makes the platform; with `display`, also the
  // 800 x 600 display and its text rasteriser.
  void Start(bool display) {
    SetProgramFolder(dir.Path().c_str());
    SetDataFolders(dir.Path().c_str(), dir.Path().c_str());
    ClearFileIndex();
    MountFileSystem();
    data = std::make_unique<TPlatformData>();
    platform = std::make_unique<TAppPlatform>(data.get());
    if (!display) return;
    auto presenter = std::make_unique<sd::THeadlessPresenter>(sd::TDisplayMode{1920, 1080, 32});
    platform->SetDisplayHandler(new TDx3dDisplayHandler(std::move(presenter), platform.get()));
    platform->InitDisplay(800, 600, false);
  }

  // A drawn frame (the device's scene) with 2-D drawing open.
  void BeginFrame() {
    if (!platform->BeginFrame(false) || !platform->Begin2d()) std::abort();
  }
  void EndFrame() {
    platform->End2d();
    platform->EndFrame(false);
  }
};
