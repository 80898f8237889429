// The display side of the rasteriser's output; see TVecDrawOutput.h.
#include "tvlib/render/TVecDrawOutput.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TRenderHost.h"

TCoverageDrawer PlatformCoverageDrawer() {
  return [](std::span<const sd::TRasterCoverageGlyph> glyphs) {
    TDisplayHandler* handler = GetCurrentDisplayHandler();
    TRenderHost* host = GetCurrentRenderHost();
    if (!handler || !host) return;
    if (!host->IsInScene()) {
      DebugLog("DrawCoverage called when not in Begin2d or Begin3d state");
      return;
    }
    handler->DrawCoverage(glyphs);
  };
}
