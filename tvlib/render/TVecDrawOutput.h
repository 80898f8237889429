// What the vector rasteriser needs from the display, kept to three small things so it can
// be driven by the real display or by a test double:
//  - a line drawer: draws a vertex set (screen-space format 3, 32-byte vertices) as a line
//    list, untextured, blending by the vertices' alpha;
//  - a locked 32-bit target: pixels in blue, green, red, alpha byte order, with a pitch;
//  - for the start-up line measurement, a render target the line drawer draws into.
#pragma once

#include <cstdint>
#include <functional>

#include "tvlib/core/TVertexSet.h"

// A screen-space vertex as the line list carries it.
struct TLineVertex {
  float x, y, z, rhw;
  uint32_t diffuse;  // alpha in the top byte, then red, green, blue
  uint32_t specular;
  float u, v;
};
static_assert(sizeof(TLineVertex) == kVertexSize);

using TLineListDrawer = std::function<void(const TVertexSet& lines)>;

// The display's primitive type of a line list.
inline constexpr int kPrimitiveLineList = 2;

// The line drawer of the running program: the platform's display, inside Begin2d.
TLineListDrawer PlatformLineDrawer();

// A locked 32-bit target: row y starts pitch * y bytes after pixels.
struct TLockedPixels {
  uint8_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
};

// The render target of the start-up line measurement.
class TLineMeasureTarget {
 public:
  virtual ~TLineMeasureTarget() = default;
  // Makes a 1024 x 512 target whose top-left 800 x 4 pixels are opaque black and directs
  // the line drawer into it for 2-D drawing.
  virtual bool Begin() = 0;
  // Ends drawing into it and locks it for reading.
  virtual bool End(TLockedPixels& pixels) = 0;
  virtual void Unlock() = 0;
};
