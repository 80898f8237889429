// Vertices of a sprite quad and their draw.
#include "tvlib/media/TSpriteQuad.h"

#include <cmath>
#include <utility>

#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TVertexSet.h"
#include "tvlib/render/TTexture.h"

namespace {

constexpr int kTriangleFan = 6;
constexpr int kBlendNormal = 0;
constexpr float kQuadZ = 0.1f;
constexpr float kQuadRhw = 0.5f;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// Tint components are kept in 0..1 by their users: rounded, low 8 bits taken.
uint32_t TintByte(float v) {
  return static_cast<uint32_t>(static_cast<int64_t>(std::lround(v * 255.0f))) & 0xFFu;
}

// Opacity truncated toward zero, then clamped (NaN gives 0).
uint32_t AlphaByte(float alpha) {
  const float v = alpha * 255.0f;
  if (!(v > 0.0f)) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<uint32_t>(v);
}

}  // namespace

void BuildSpriteQuad(const TTexture& texture, const TDrawSpec& spec, TVec2 viewportOrigin,
                     TSpriteVertex out[4]) {
  const TRect source = (spec.flags & kSpecSourceRect)
                           ? spec.sourceRect
                           : TRect{0, 0, texture.GetWidth(), texture.GetHeight()};
  const float w = static_cast<float>(source.right - source.left);
  const float h = static_cast<float>(source.bottom - source.top);
  const TVec2 origin =
      (spec.flags & kSpecRegistration) ? -spec.origin : TVec2(-w / 2.0f, -h / 2.0f);
  TVec2 corners[4] = {origin, origin + TVec2(w, 0), origin + TVec2(w, h), origin + TVec2(0, h)};
  if (spec.flags & kSpecMirrorY) {
    std::swap(corners[0].y, corners[2].y);
    std::swap(corners[1].y, corners[3].y);
  }
  if (spec.flags & kSpecMirrorX) {
    std::swap(corners[0].x, corners[1].x);
    std::swap(corners[2].x, corners[3].x);
  }

  int surfaceWidth = 0, surfaceHeight = 0;
  texture.GetSurfaceSize(&surfaceWidth, &surfaceHeight);
  const float sw = surfaceWidth > 0 ? static_cast<float>(surfaceWidth) : 1.0f;
  const float sh = surfaceHeight > 0 ? static_cast<float>(surfaceHeight) : 1.0f;
  const float uLeft = static_cast<float>(source.left) / sw;
  const float uRight = static_cast<float>(source.right) / sw;
  const float vTop = static_cast<float>(source.top) / sh;
  const float vBottom = static_cast<float>(source.bottom) / sh;
  const float uv[4][2] = {{uLeft, vTop}, {uRight, vTop}, {uRight, vBottom}, {uLeft, vBottom}};

  const uint32_t diffuse = AlphaByte(spec.alpha) << 24 | TintByte(spec.colour.r) << 16 |
                           TintByte(spec.colour.g) << 8 | TintByte(spec.colour.b);
  const TVec2 shift = viewportOrigin - TVec2(0.5f, 0.5f);
  for (int i = 0; i < 4; ++i) {
    const TVec2 p = corners[i] * spec.transform + shift;
    out[i] = TSpriteVertex{p.x, p.y, kQuadZ, kQuadRhw, diffuse, kOpaqueBlack, uv[i][0], uv[i][1]};
  }
}

void DrawSpriteQuad(const std::shared_ptr<TTexture>& texture, const TDrawSpec& spec) {
  TPlatform* platform = TPlatform::GetInstance();
  if (!texture || !platform) return;
  int left = 0, top = 0, right = 0, bottom = 0;
  platform->GetViewport(&left, &top, &right, &bottom);
  TSpriteVertex quad[4];
  BuildSpriteQuad(*texture, spec, TVec2(static_cast<float>(left), static_cast<float>(top)), quad);
  platform->SetTexture(0, texture);
  if (spec.blend != kBlendInherit) platform->SetBlendMode(spec.blend);
  platform->DrawVertices(kTriangleFan, TVertexSet(quad, 4));
  if (spec.blend != kBlendInherit) platform->SetBlendMode(kBlendNormal);
}
