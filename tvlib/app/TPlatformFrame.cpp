// The display side of every frame: begin and end (the frame-rate ring and overlay), the
// render-state guards, full-screen switching and the display set-up.
#include <cstdio>
#include <cstdlib>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/platform/render/SdDefs.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// The framework version the overlay shows.
constexpr int kFrameworkVersion[4] = {3, 5, 0, 9};
// The game area's designed width: an embedded game is scaled by host width / this.
constexpr float kDesignWidth = 800.0f;
// Pause of the keep-on-top rule while the full-screen window is hidden.
constexpr uint32_t kHiddenPauseMs = 50;

}  // namespace

bool TAppPlatform::BeginFrame(bool prepare) {
  TDisplayHandler* handler = GetDisplayHandler();
  if (!handler || !handler->BeginDraw(prepare)) return false;
  if (mData->restorePending) {
    mData->restoreListeners.Run(kTimerPhase);
    mData->restorePending = false;
  }
  return true;
}

void TAppPlatform::EndFrame(bool present) {
  uint32_t now = ClockMilliseconds();
  mData->frameTimes[mData->frameIndex] = now;
  mData->frameIndex = (mData->frameIndex + 1) % kFrameRing;
  if (mData->frameIndex == 0) {
    uint32_t span = now - mData->frameTimes[0];
    // Fifteen frames in one millisecond give no rate; the last one stands.
    if (span != 0) mData->framesPerSecond = 15000.0f / static_cast<float>(span);
    if (now - mData->lastFpsOutput > 1000 && std::getenv("TV_DEBUG_OUTPUT")) {
      std::fprintf(stderr, "fps: %f\n", mData->framesPerSecond);
      mData->lastFpsOutput = now;
    }
  }
  if (mData->fpsOverlay) DrawFrameRateOverlay();
  if (TDisplayHandler* handler = GetDisplayHandler()) handler->EndDraw(present);
}

void TAppPlatform::DrawFrameRateOverlay() {
  if (!mData->fpsText) {
    const float red[4] = {1, 0, 0, 1};
    mData->fpsText = TTextBlock::Create("", 512, 512, 0, "", 16, red);
  }
  TString text = TString::Format("Wrenfold Version %d.%d.%d.%d<br>FPS<tab pos='200'>%f<br>",
                                 kFrameworkVersion[0], kFrameworkVersion[1], kFrameworkVersion[2],
                                 kFrameworkVersion[3], mData->framesPerSecond);
  bool began = Begin2d();
  FillRect(0, 0, 300, 40, TColor32(0xFF000000u), nullptr);
  mData->fpsText->SetText(text);
  mData->fpsText->Draw(TRect{0, 0, 512, 512});
  if (began) End2d();
}

bool TAppPlatform::Begin2d() {
  if (mData->in2d) {
    DebugLog("Begin2d called when already in Begin2d state");
    return false;
  }
  if (mData->in3d) {
    DebugLog("Begin2d called when already in Begin3d state");
    return false;
  }
  TDisplayHandler* handler = GetDisplayHandler();
  mData->in2d = handler && handler->Begin2d();
  return mData->in2d;
}

void TAppPlatform::End2d() {
  if (!mData->in2d) {
    DebugLog("End2d called when not in Begin2d state");
    return;
  }
  if (TDisplayHandler* handler = GetDisplayHandler()) handler->End2d();
  mData->in2d = false;
}

void TAppPlatform::DrawVertices(int primitive, const TVertexSet& vertices) {
  if (!mData->in2d && !mData->in3d) {
    DebugLog("DrawVertices called when not in Begin2d or Begin3d state");
    return;
  }
  if (TDisplayHandler* handler = GetDisplayHandler()) handler->DrawVertices(primitive, vertices);
}

void TAppPlatform::DrawIndexedVertices(int primitive, const TVertexSet& vertices,
                                       const uint16_t* indices, int indexCount) {
  if (!mData->in2d && !mData->in3d) {
    DebugLog("DrawIndexedVertices called when not in Begin2d or Begin3d state");
    return;
  }
  if (TDisplayHandler* handler = GetDisplayHandler()) {
    handler->DrawIndexedVertices(primitive, vertices, indices, indexCount);
  }
}

bool TAppPlatform::SetFullscreen(bool full) {
  TDisplayHandler* handler = GetDisplayHandler();
  if (HasPqSwitch()) {
    // The host decides: it is told the wish, and the game stays in its window.
    NotifyParentFullscreen(full);
    if (handler) handler->SetFullscreen(false);
    return true;
  }
  return handler && handler->SetFullscreen(full);
}

bool TAppPlatform::IsFullscreen() {
  if (HasPqSwitch()) return IsParentFullscreen();
  TDisplayHandler* handler = GetDisplayHandler();
  return handler && handler->IsFullscreen();
}

void TAppPlatform::InitDisplay(int width, int height, bool full) {
  if (HasPqSwitch()) {
    NotifyParentFullscreen(full);
    full = false;
  }
  TWindowManager* manager = GetWindowManager();
  if (manager && !manager->GetRootWindow()) {
    auto* screen = new TScreen;
    manager->SetRootWindow(screen);
    screen->SetSize(width, height);
  }
  mData->displayScale = 1.0f;
  if (mData->embedded) {
    int hostWidth = 0, hostHeight = 0;
    if (mData->window &&
        mData->window->GetBackend().GetHostClientSize(mData->hostWindow, &hostWidth, &hostHeight)) {
      mData->displayScale = static_cast<float>(hostWidth) / kDesignWidth;
    }
    full = false;
  } else if (mData->screensaver) {
    full = true;
  }
  TDisplayHandler* handler = GetDisplayHandler();
  if (!handler) {
    DebugLog("TPlatform::InitDisplay failed! No display handler.");
    return;
  }
  handler->SetDisplay(width, height, full, false, false, mData->hostWindow != 0);
  // Text is drawn as batches of coverage spans through the display.
  if (!mData->vectorRasteriser)
    mData->vectorRasteriser = std::make_unique<TTvMiniVecDraw>(PlatformCoverageDrawer());
  handler->CalibrateTexelOffset();
}

bool TAppPlatform::ConsumeRepaintRequest() {
  return mData->repaintRequested.exchange(false);
}

void TAppPlatform::RestoreAssets() {
  TDisplayHandler* handler = GetDisplayHandler();
  if (!handler || !handler->IsDeviceValid()) {
    DebugLog("RestoreAssets: DX broken");
    return;
  }
  if (mData->assetManager) mData->assetManager->RestoreAll();
  mData->restorePending = true;
  if (TWindowManager* manager = GetWindowManager()) {
    if (TModalWindow* root = manager->GetRootWindow()) root->Invalidate();
  }
  mData->repaintRequested = true;
}

void TAppPlatform::KeepOnTop() {
  if (mData->hidden) {
    ClockSleep(kHiddenPauseMs);
    return;
  }
  // The X window manager decides stacking and focus; raising is all a client may ask.
  if (mData->window) mData->window->GetBackend().RaiseWindow();
}
