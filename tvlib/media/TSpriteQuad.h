// The textured-quad drawer of sprites and animation frames: the four corners of a texture (or
// of its source rectangle) placed by a drawing record, centred on the record's position or by
// its registration point, mirrored within the same box, with texture co-ordinates over the
// allocated surface, drawn as one triangle fan of pre-transformed vertices. A record with a
// blend mode draws with it, then the normal blend is set again. UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/core/TVec.h"
#include "tvlib/media/TDrawSpec.h"

class TTexture;

// A vertex as the display takes it: pre-transformed and lit, 32 bytes.
struct TSpriteVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u, v;
};
static_assert(sizeof(TSpriteVertex) == 32);

// The fan's four vertices (top left, top right, bottom right, bottom left before mirroring)
// for `texture` under `spec`, moved by the viewport's top-left corner.
void BuildSpriteQuad(const TTexture& texture, const TDrawSpec& spec, TVec2 viewportOrigin,
                     TSpriteVertex out[4]);

// Selects the texture and draws its quad through the platform; nothing without a platform.
void DrawSpriteQuad(const std::shared_ptr<TTexture>& texture, const TDrawSpec& spec);
