// The display side of the rasteriser's output; see TVecDrawOutput.h.
#include "tvlib/render/TVecDrawOutput.h"

#include "tvlib/core/TPlatform.h"

TLineListDrawer PlatformLineDrawer() {
  return [](const TVertexSet& lines) {
    TPlatform* platform = TPlatform::GetInstance();
    if (!platform) return;
    // Runs are untextured: stage 0 then reads opaque white.
    platform->SetTexture(0, nullptr);
    platform->DrawVertices(kPrimitiveLineList, lines);
  };
}
