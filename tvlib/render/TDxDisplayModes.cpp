// Display modes: the SetDisplay ladder with its refusals, fallback and messages, the switch
// between window and full screen, and the initial device state of every new mode.
#include <algorithm>

#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/platform/dialog/TMessageBox.h"
#include "tvlib/platform/window/TWindowBackend.h"
#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TDxTextureData.h"

namespace {

// Within this long after the device broke, an embedded game does not set the mode again.
constexpr uint32_t kBrokenGuardMs = 1000;

// The texture code's alpha-format choice is made again for every new device.
void ForgetAlphaFormat() {
  TDxTextureData::ClearAlphaFormatCache();
}

// A game inside a host window cannot change the desktop's mode: it says why and ends.
void EndForHost(const char* text) {
  ShowMessageBox(text, "Error", kMbIconExclamation);
  EndProcess(kExitStartupFailed);
}

}  // namespace

// The platform rebuilds the assets' device data and asks for a redraw; without a platform the
// asset manager alone rebuilds.
void RestoreAllAssets() {
  if (TRenderHost* host = GetCurrentRenderHost()) {
    host->RestoreAssets();
  } else if (TAssetManager* assets = GetAssetManager()) {
    assets->RestoreAll();
  }
}

namespace {}  // namespace

void TDxDisplayHandler::FitRectToMonitor(sd::TRect* rect, int flags) const {
  const TDXContext& context = mData->context;
  sd::TRect area{0, 0, context.desktopWidth, context.desktopHeight};
  int width = rect->Width(), height = rect->Height();
  if (flags & 1) {
    rect->left = area.left + (area.Width() - width) / 2;
    rect->top = area.top + (area.Height() - height) / 2;
  } else {
    rect->left = std::max(area.left, std::min(rect->left, area.right - width));
    rect->top = std::max(area.top, std::min(rect->top, area.bottom - height));
  }
  rect->right = rect->left + width;
  rect->bottom = rect->top + height;
}

void TDxDisplayHandler::PositionWindowOnMonitor(int flags) {
  sd::TRect client = mPresenter->ClientRect();
  FitRectToMonitor(&client, flags);
  mPresenter->PlaceClient(client);
  mData->context.display.UpdateBounds();
}

bool TDxDisplayHandler::IsDesktopTooSmall(int width, int height) const {
  const TDXContext& context = mData->context;
  return context.desktopWidth <= width || context.desktopHeight <= height;
}

bool TDxDisplayHandler::SetDisplay(int width, int height, bool fullScreen, bool force, bool quiet,
                                   bool embedded) {
  TDxDisplayHandlerData& d = *mData;
  TDXContext& context = d.context;
  TRenderHost* host = d.host;
  if (host && host->IsHidden()) {
    ClockSleep(100);
    return false;
  }
  if (d.lowMemoryVideo) {
    DebugLog("SetDisplay Forcing Fullscreen (MEMORY)");
    fullScreen = true;
  }
  bool visible = !host || host->IsVisible();
  bool active = !host || host->IsActive();
  bool activationChanged = host && host->HasActivationChanged();
  bool activeNow = activationChanged ? (visible && active) : visible;
  if (!activeNow && !force) return false;
  DebugLog("SetDisplay active or force, active %d, changed %d, new active %d, force %d", visible,
           activationChanged, active, force);
  bool hostWindow = host && host->HasHostWindow();
  if (host && host->IsHostWindowLost()) {
    DebugLog("Error: mExternalWindowParent is lost, exiting!");
    EndProcess(kExitStartupFailed);
    return false;
  }
  if (d.fatal) {
    EndProcess(kExitStartupFailed);
    return false;
  }
  // The guard spans the second after the device broke (a plain difference: no wrap-around).
  if (hostWindow && d.broken && RenderTime(host) - d.brokenTime < kBrokenGuardMs) return false;
  d.workingCount = 0;
  if (!fullScreen && context.desktopColours != -1) {
    if (hostWindow) {
      EndForHost(
          "You cannot run this application when your video mode is 8 bits or less. "
          "Change your display settings and run again.");
      return false;
    }
    DebugLog("SetDisplay Forcing Fullscreen (PALLETTED)");
    fullScreen = true;
  }
  if (fullScreen == d.fullScreen && width == d.displayRect.right &&
      height == d.displayRect.bottom && !force) {
    return true;
  }
  if (!fullScreen) {
    float scale = 1.0f;
    if (host) host->GetDisplayScale(&scale);
    bool hostDecides = host && host->HostDecidesFullscreen();
    bool tooSmall = !hostDecides && IsDesktopTooSmall(static_cast<int>(width * scale),
                                                      static_cast<int>(height * scale));
    if (tooSmall) {
      if (hostWindow) {
        EndForHost(
            "You cannot run this application at your current screen resolution. "
            "Change your display settings and run again.");
        return false;
      }
      DebugLog("SetDisplay Forcing Fullscreen (SMALL)");
      fullScreen = true;
    } else if (context.forceFullScreen) {
      if (hostWindow) {
        EndForHost(
            "You cannot run this application at your current screen resolution or "
            "bit depth (out of memory). Change your display settings and run again.");
        return false;
      }
      DebugLog("SetDisplay Forcing Fullscreen (MEMORY)");
      fullScreen = true;
    }
  }
  if (TAssetManager* assets = GetAssetManager()) assets->ReleaseAll();
  if (host) host->NoteDisplayModeChanged();

  d.fullScreen = fullScreen;
  d.viewport = d.displayRect = {0, 0, width, height};
  d.directDraw = nullptr;
  d.device = nullptr;
  d.broken = false;
  context.ReleaseDevice();
  if (d.reconfigurePending) {
    ShowMessageBox(
        "Your video card doesn't have enough memory in the current mode. Changing to "
        "another mode. This setting will be saved so you won't see this box again. "
        "This will take less than a minute. Press OK to continue.",
        "Reconfiguring", kMbIconExclamation);
  }
  d.reconfigurePending = false;
  if (!context.Create(fullScreen, width, height, d.lowMemoryVideo ? 16 : 32, embedded ? 3 : 1)) {
    DebugLog("Create failed: %d, %d, %d: %d, %d", visible, active, activationChanged,
             d.fallbackTried, activeNow);
    return SetDisplayFailed(width, height, fullScreen, quiet, activeNow);
  }
  SetDisplaySucceeded(embedded);
  return true;
}

bool TDxDisplayHandler::SetDisplayFailed(int width, int height, bool fullScreen, bool quiet,
                                         bool activeNow) {
  TDxDisplayHandlerData& d = *mData;
  TDXContext& context = d.context;
  TRenderHost* host = d.host;
  bool hostWindow = host && host->HasHostWindow();
  if (context.palettised) {
    if (!quiet) {
      ShowMessageBox(
          "DirectX requires that you have your screen set to 256 color mode or higher "
          "for any DirectX application to run. Please go to your control panel and "
          "select 256 color mode or install new video drivers to run this game. "
          "Exiting.",
          "Error", kMbOk);
    }
    d.fatal = true;
    EndProcess(kExitStartupFailed);
    return false;
  }
  if (hostWindow) {
    MarkDeviceBroken();
    return false;
  }
  if (d.wasFullScreen && fullScreen) {
    MarkDeviceBroken();
    ClockSleep(150);
    return false;
  }
  // The player's own window has the focus exactly while the application is active.
  bool foreground = !host || host->IsActive();
  if (!d.fallbackTried && !(activeNow && foreground)) {
    DebugLog("SetDisplay marking DirectX Broken: %s, %s", activeNow ? "ACTIVE" : "INACTIVE",
             foreground ? "FOREGROUND" : "BACKGROUND");
    MarkDeviceBroken();
    return false;
  }
  if (!fullScreen) {
    const char* cause = nullptr;
    if (context.desktopColours != -1) {
      cause = "Cannot run in 256 color mode or lower in a window. Switching to full screen.";
    } else if (IsDesktopTooSmall(width, height)) {
      cause =
          "Cannot run in a window when your desktop is set to 800x600 or lower resolution. "
          "Switching to full screen.";
    } else if (context.forceFullScreen) {
      cause = "Cannot run in a window: Insufficient video memory. Switching to full screen.";
    }
    if (cause) {
      if (!quiet) ShowMessageBox(cause, "Error", kMbOk);
      d.fallbackTried = true;
      return SetDisplay(width, height, true, true, false, false);
    }
  }
  if (d.fallbackTried) {
    DebugLog("ERROR FALLBACK FAILED: visible %d, active %d", !host || host->IsVisible(),
             !host || host->IsActive());
    ShowMessageBox(
        "Failed to initialize window. Please try running the game again. If that "
        "doesn't help, try changing the screen resolution and color depth. If that "
        "fails, then your video card does not support this game.",
        "Error", kMbIconHand);
    if (host) host->RequestClose();
    d.fatal = true;
    return false;
  }
  d.fallbackTried = true;
  if (fullScreen) {
    bool result = SetDisplay(width, height, false, true, false, false);
    if (!quiet) {
      ShowMessageBox(
          "Failed to initialize full screen mode. Your video card is not supported. "
          "Trying to run in a window.",
          "Error", kMbOk);
    }
    return result;
  }
  if (!quiet)
    ShowMessageBox("Failed to initialize windowed mode. Trying full screen.", "Error", kMbOk);
  return SetDisplay(width, height, true, false, false, false);
}

void TDxDisplayHandler::SetDisplaySucceeded(bool embedded) {
  TDxDisplayHandlerData& d = *mData;
  TDXContext& context = d.context;
  d.fallbackTried = false;
  TRenderHost* host = d.host;
  if (!embedded) {
    sd::TRect client = mPresenter->ClientRect();
    if (!d.fullScreen && client.left == 0 && client.top == 0) PositionWindowOnMonitor(1);
    if (TWindowBackend* backend = host ? host->GetWindowBackend() : nullptr)
      backend->ShowWindow(true);
  }
  d.directDraw = context.GetDirectDraw();
  d.device = context.device.get();

  sd::TDeviceDesc caps;
  d.device->GetCaps(&caps);
  if (caps.devCaps & sd::kDevCapsSeparateTextureMemories) d.separateTextureMemories = true;
  if (!(caps.shadeCaps & sd::kShadeCapsSpecularGouraudRgb)) d.noSpecular = true;
  if ((caps.textureCaps & sd::kTextureCapsSquareOnly) || caps.maxTextureAspectRatio < 64)
    d.squareTexturesOnly = true;

  d.renderTargets.clear();
  auto target = std::make_shared<TDxDisplayHandlerData::SRenderTarget>();
  target->surface = d.device->GetRenderTarget();
  target->left = d.displayRect.left;
  target->top = d.displayRect.top;
  target->right = d.displayRect.right;
  target->bottom = d.displayRect.bottom;
  d.renderTargets.push_front(target);

  SetInitialRenderStates();
  ForgetAlphaFormat();
  TAssetManager* assets = GetAssetManager();
  if (assets && assets->GetCount() > 0 && host && !host->IsDrawingDisabled()) context.Present();
  RestoreAllAssets();
  if (d.fullScreen) d.wasFullScreen = true;
}

void TDxDisplayHandler::SetInitialRenderStates() {
  SetRenderState(sd::kRsAmbient, 0xFFFFFFFFu);
  SetRenderState(sd::kRsZEnable, 1);
  SetRenderState(sd::kRsZWriteEnable, 1);
  SetRenderState(sd::kRsColorVertex, 1);
  SetRenderState(sd::kRsLighting, 1);
  SetRenderState(sd::kRsNormalizeNormals, 1);
  SetRenderState(sd::kRsSpecularEnable, 1);
  SetRenderState(sd::kRsDiffuseMaterialSource, sd::kMcsMaterial);
  SetRenderState(sd::kRsAmbientMaterialSource, sd::kMcsMaterial);
  SetRenderState(sd::kRsSpecularMaterialSource, sd::kMcsMaterial);
  SetRenderState(sd::kRsEmissiveMaterialSource, sd::kMcsMaterial);
  SetRenderState(sd::kRsSrcBlend, sd::kBlendSrcAlpha);
  SetRenderState(sd::kRsDestBlend, sd::kBlendInvSrcAlpha);
  SetRenderState(sd::kRsAlphaBlendEnable, 1);
  SetStageState(sd::kTssMagFilter, sd::kTfgLinear);
  SetStageState(sd::kTssMinFilter, sd::kTfnLinear);
  SetStageState(sd::kTssMipFilter, sd::kTfpLinear);
  SetModulateStage(sd::kTaCurrent);
  SetRenderState(sd::kRsAlphaTestEnable, 1);
  SetRenderState(sd::kRsAlphaRef, 1);
  SetRenderState(sd::kRsAlphaFunc, sd::kCmpGreaterEqual);
  SetShadeMode(2);
}

bool TDxDisplayHandler::SetFullscreen(bool fullScreen) {
  TDxDisplayHandlerData& d = *mData;
  const TDXContext& context = d.context;
  int width = d.displayRect.right - d.displayRect.left;
  int height = d.displayRect.bottom - d.displayRect.top;
  if (!fullScreen && (context.desktopColours != -1 || IsDesktopTooSmall(width, height) ||
                      context.forceFullScreen || d.lowMemoryVideo)) {
    return false;
  }
  SetDisplay(width, height, fullScreen, false, false, false);
  return true;
}
