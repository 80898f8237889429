// What the vector rasteriser needs from the display, kept small so it can be driven by the
// real display or by a test double:
//  - a coverage drawer: draws a batch of glyphs, each rows of coverage in its slot colours
//    (TRaster.h's rule), blending by the coverage-weighted alpha as the display's blend mode says;
//  - a locked 32-bit target: pixels in blue, green, red, alpha byte order, with a pitch.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "tvlib/platform/render/TRaster.h"

using TCoverageDrawer = std::function<void(std::span<const sd::TRasterCoverageGlyph> glyphs)>;

// The coverage drawer of the running program: the platform's display, inside Begin2d.
TCoverageDrawer PlatformCoverageDrawer();

// A locked 32-bit target: row y starts pitch * y bytes after pixels.
struct TLockedPixels {
  uint8_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
};
