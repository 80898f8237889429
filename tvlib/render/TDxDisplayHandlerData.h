// The private data of the display handler, shared by its files (modes, frames, device loss,
// 3-D) and read by the texture data.
#pragma once

#include <list>
#include <memory>
#include <vector>

#include "tvlib/core/TMat4.h"
#include "tvlib/render/TDXContext.h"
#include "tvlib/render/TRenderHost.h"

class TTexture;

// Rebuilds the device data of every live asset after a mode set or restore.
void RestoreAllAssets();

struct TDxDisplayHandlerData {
  struct SRenderTarget {
    sd::TSurfacePtr surface;
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  struct SViewport {
    int left = 0, top = 0, right = 0, bottom = 0;
  };

  TDxDisplayHandlerData(sd::TPresenter* presenter, TRenderHost* host)
      : host(host), context(presenter, host) {}

  TRenderHost* host;  // null: the handler runs alone

  sd::TDisplay* directDraw = nullptr;
  sd::TDevice3d* device = nullptr;
  TDXContext context;
  std::list<std::shared_ptr<SRenderTarget>> renderTargets;  // front: the current target
  std::list<SViewport> viewports;                           // front: the last pushed
  SViewport viewport;
  SViewport displayRect;
  std::shared_ptr<TTexture> currentTexture;
  bool fullScreen = false;
  bool broken = false;
  bool reconfigurePending = false;
  bool fallbackTried = false;
  bool fatal = false;
  bool separateTextureMemories = false;
  bool noSpecular = false;
  bool squareTexturesOnly = false;
  uint32_t workingCount = 0;
  uint32_t brokenTime = 0;
  bool wasFullScreen = false;
  bool lowMemoryVideo = false;
  bool inScene = false;
  TMat4 projection;
  float nearZ = 0.1f;
  float farZ = 1000.0f;
  TMat4 savedWorld, savedView, savedProjection;
  bool calibrated = false;
  float texelOffset = -0.5f;
  // Restore called from BeginDraw must not come back into BeginDraw's own Restore.
  bool restoring = false;
  // Whether the back buffer's frame was open at each render-target push, for the pop.
  std::vector<bool> outerScenes;
  // The alpha-depth render-target message appears once per handler.
  bool alphaTargetMessageShown = false;
};
