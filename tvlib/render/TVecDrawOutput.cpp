// The display side of the rasteriser's output; see TVecDrawOutput.h.
#include "tvlib/render/TVecDrawOutput.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TRenderHost.h"

TLineListDrawer PlatformLineDrawer() {
  return [](const TVertexSet& lines) {
    TDisplayHandler* handler = GetCurrentDisplayHandler();
    TRenderHost* host = GetCurrentRenderHost();
    if (!handler || !host) return;
    // Runs are untextured: stage 0 then reads opaque white.
    handler->SetTexture(nullptr);
    if (!host->IsInScene()) {
      DebugLog("DrawVertices called when not in Begin2d or Begin3d state");
      return;
    }
    handler->DrawVertices(kPrimitiveLineList, lines);
  };
}
