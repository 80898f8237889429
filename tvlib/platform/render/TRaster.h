// The rasteriser of the software rendering device: screen-space triangles and lines into a 32-bit
// ARGB render target, with texturing, the stage-0 combiner, alpha test, depth test and blending.
//
// Raster rules (the engine's drawing code is written for them):
// - Pixel (i, j) has its centre at (i, j). Vertex positions are snapped to 1/256 pixel; a pixel
//   belongs to a triangle when its centre is inside, or on a top or left edge (top-left rule), so
//   triangles sharing an edge cover every pixel of it exactly once.
// - Texel centres lie at (i + 0.5) / W. Point sampling takes texel floor(u W); bilinear sampling
//   starts at u W - 0.5 with 8-bit weights, blending down the columns and then across, each stage
//   rounded to 8 bits. Addressing is wrap, mirror or clamp per axis. Texture
//   coordinates step in 16.16 fixed point, affine unless rhw differs between the vertices (then
//   perspective-correct). The mip level is chosen once per primitive.
// - No texture reads as opaque white. Products of two 8-bit values round: round(a b / 255).
// - Blending applies both factors to all four channels, alpha included, rounds once,
//   round((s fs + d fd) / 255), and saturates.
// - Flat shading takes the first vertex's colours. The scissor (the viewport) always clips.
// - Lines light, for an x-major line, column i when x0 <= i < x1, in row floor(y + 0.5) (y-major
//   lines likewise with the axes exchanged).
// - A span lights columns x0 <= i < x1 of row y in one colour, as a level line in that colour
//   would, with two differences: it reads no texture (stage 0 sees opaque white) and it neither
//   tests nor writes depth.
// - A coverage glyph lights, for each of its rows, pixel x + x0 + i of row y + row (its origin
//   plus the row's place) exactly as a span of the colour of the row's slot with alpha
//   (A c_i) >> 4 would, where A is the colour's alpha and c_i the pixel's coverage, 0 to 16
//   sixteenths; coverage 0 leaves the pixel untouched. A batch of glyphs is drawn in one pass.
// Fast paths (1:1 texel rows, trivial combiner stages, SSE2 or AVX2 spans, and SSE2, AVX2 or
// AVX-512 coverage glyphs for the blend pairs the engine uses) give exactly the pixels of the
// general per-pixel path; tests switch between them to compare.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tvlib/platform/render/SdDefs.h"
#include "tvlib/platform/render/TSurface.h"

namespace sd {

// A vertex after transformation: screen position, depth 0..1, reciprocal of w, colours, texture
// coordinates.
struct TRasterVertex {
  float x = 0, y = 0, z = 0, rhw = 1;
  uint32_t diffuse = 0xFFFFFFFF, specular = 0;
  float u = 0, v = 0;
};

// One level of a bound texture, as ARGB pixels.
struct TRasterTexture {
  const uint32_t* texels = nullptr;
  int32_t pitch = 0;  // in pixels
  int32_t width = 0, height = 0;
};

// Everything the rasteriser needs to draw one primitive.
struct TRasterState {
  uint32_t* target = nullptr;  // ARGB pixels
  int32_t targetPitch = 0;     // in pixels
  TRect scissor;               // inside the target
  // Depth buffer (null: none): 2 or 4 bytes a value, valueMax is the value of depth 1.0.
  uint8_t* depth = nullptr;
  int32_t depthPitch = 0;  // in bytes
  int depthBytes = 0;
  uint32_t depthMax = 0;
  bool zEnable = false, zWrite = false;
  uint32_t zFunc = kCmpLessEqual;
  // Texture levels, largest first (none: no texture). Enough for the largest surface side.
  static constexpr int kMaxLevels = 16;
  TRasterTexture levels[kMaxLevels];
  int levelCount = 0;
  uint32_t magFilter = kTfgPoint, minFilter = kTfnPoint, mipFilter = kTfpNone;
  uint32_t addressU = kTaddressWrap, addressV = kTaddressWrap;
  uint32_t colorOp = kTopModulate, colorArg1 = kTaTexture, colorArg2 = kTaCurrent;
  uint32_t alphaOp = kTopSelectArg1, alphaArg1 = kTaTexture, alphaArg2 = kTaCurrent;
  uint32_t textureFactor = 0xFFFFFFFF;
  bool specularEnable = false;
  bool alphaTest = false;
  uint32_t alphaRef = 0, alphaFunc = kCmpAlways;
  bool blend = false;
  uint32_t srcBlend = kBlendOne, destBlend = kBlendZero;
  uint32_t shadeMode = kShadeGouraud;
  uint32_t cullMode = kCullCcw;
};

// One pixel row of a coverage glyph: pixels [x0, x0 + count) of row `row`, both relative to the
// glyph's origin, in the colour of slot `slot` (0-3; the slot is taken modulo 4), weighted by
// coverage bytes 0 to 16 (above 16 counts as 16) that follow the previous row's.
struct TRasterGlyphRow {
  int16_t x0, row;
  uint16_t count;
  uint8_t slot;
};
static_assert(sizeof(TRasterGlyphRow) == 8);

// The pixels a glyph's rows can light, relative to its origin: columns [left, right), rows
// [top, bottom). A glyph whose box is wholly inside the scissor draws the rows that lie in the box
// without clipping them; any other row is clipped.
struct TRasterGlyphBox {
  int16_t left = 0, top = 0, right = 0, bottom = 0;
};

// A glyph at whole-pixel origin (x, y) in four slot colours (alpha in the top byte, then red,
// green, blue): its rows, top to bottom, and their coverage bytes back to back. Coverage is read
// eight bytes at a time: the bytes must be followed by kCoverageReadSlack readable ones, whose
// values are ignored.
constexpr size_t kCoverageReadSlack = 7;
struct TRasterCoverageGlyph {
  int32_t x, y;
  uint32_t colours[4];
  const TRasterGlyphRow* rows;
  uint32_t rowCount;
  TRasterGlyphBox box;
  const uint8_t* coverage;
};

// Draws one triangle (culled as the state says), one line, or a batch of coverage glyphs.
void RasterTriangle(const TRasterState& st, const TRasterVertex& a, const TRasterVertex& b,
                    const TRasterVertex& c);
void RasterLine(const TRasterState& st, const TRasterVertex& a, const TRasterVertex& b);
void RasterCoverage(const TRasterState& st, const TRasterCoverageGlyph* glyphs, size_t count);

// Which paths draw: the general per-pixel one only, the fast paths with SSE2 spans, the fast
// paths with AVX2 spans, or those with AVX-512 coverage glyphs (the default is the best the
// processor has). Tests switch between them to compare buffers; asking for paths the processor
// lacks gives the best it has below them.
enum class TRasterPaths { kGeneral, kSse2, kAvx2, kAvx512 };
void SetRasterPaths(TRasterPaths paths);
TRasterPaths RasterPaths();
// The best paths this processor runs.
TRasterPaths BestRasterPaths();

// round(a * b / 255) for bytes a and b.
inline uint32_t Mul255(uint32_t a, uint32_t b) {
  uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

}  // namespace sd
