// Test set-up for the display handler and textures: a platform on a fake clock, a headless
// presenter with a fake desktop, data folders in a temporary directory, the
// debug log there, and recorders for message boxes and process ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/platform/dialog/TMessageBox.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/render/TFaultHook.h"
#include "tvlib/render/TDx3dDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"

struct TBox {
  std::string text, caption;
  uint32_t flags;
};

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "assets");
    std::filesystem::create_directories(dir / "common");
    SetLogDirectory(dir.Path().c_str());
    SetProgramFolder(dir.Path().c_str());
    SetDataFolders((dir / "common").c_str(), (dir / "common").c_str());
    Mount();
    SetMessageBoxHook([this](const char* text, const char* caption, uint32_t flags) {
      boxes.push_back(TBox{text, caption, flags});
    });
    SetEndProcessHook([this](int status) { ends.push_back(status); });
    data = std::make_unique<TPlatformData>();
    platform = std::make_unique<TAppPlatform>(data.get());
  }
  void TearDown() override {
    platform->SetDisplayHandler(nullptr);
    platform.reset();
    data.reset();
    SetMessageBoxHook({});
    SetEndProcessHook({});
  }
  void Mount() {
    ClearFileIndex();
    MountFileSystem();
  }
  // Makes the handler on a desktop of this size and depth.
  TDx3dDisplayHandler& MakeHandler(int desktopWidth = 1920, int desktopHeight = 1080,
                                   uint32_t bits = 32) {
    auto owned = std::make_unique<sd::THeadlessPresenter>(
        sd::TDisplayMode{desktopWidth, desktopHeight, bits});
    presenter = owned.get();
    handler = new TDx3dDisplayHandler(std::move(owned), platform.get());
    platform->SetDisplayHandler(handler);
    return *handler;
  }
  TDx3dDisplayHandler& Display(int width = 800, int height = 600, bool full = false) {
    if (!handler) MakeHandler();
    handler->SetDisplay(width, height, full, false, false, false);
    return *handler;
  }
  // The platform data block's asset manager, the current one while the block lives.
  TAssetManager& Assets() { return *data->assetManager; }
  TDxDisplayHandlerData& HandlerData() { return handler->Data(); }
  sd::TDevice3d& Device() { return *HandlerData().device; }
  std::string Log() { return ReadWholeFile(dir / "logfile.txt"); }
  bool Logged(const std::string& line) { return Log().find(line) != std::string::npos; }
  uint32_t RenderState(uint32_t state) {
    uint32_t v = 0;
    Device().GetRenderState(state, &v);
    return v;
  }
  uint32_t StageState(uint32_t state) {
    uint32_t v = 0;
    Device().GetTextureStageState(0, state, &v);
    return v;
  }
  sd::TViewport DeviceViewport() {
    sd::TViewport vp;
    Device().GetViewport(&vp);
    return vp;
  }
  // The back buffer's ARGB pixel at (x, y).
  uint32_t BackPixel(int x, int y) {
    const sd::TSurfacePtr& back = HandlerData().context.GetBackBuffer();
    return reinterpret_cast<const uint32_t*>(back->Bits() + y * back->Pitch())[x];
  }
  // The back buffer read pixel by pixel, for comparing a frame with a reference image
  // (ReferenceFrame.h).
  std::function<uint32_t(int x, int y)> BackBuffer() {
    return [this](int x, int y) { return BackPixel(x, y); };
  }

  TTempDir dir;
  TFakeClock clock{50000};
  std::vector<TBox> boxes;
  std::vector<int> ends;
  std::unique_ptr<TPlatformData> data;
  std::unique_ptr<TAppPlatform> platform;
  sd::THeadlessPresenter* presenter = nullptr;
  TDx3dDisplayHandler* handler = nullptr;
};
