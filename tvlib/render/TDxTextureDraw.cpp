// Texture drawing: one screen-space quad per draw (clipped when huge, mirrored, rotated,
// offset by the calibrated texel offset), drawing inside a clip rectangle, and rectangle
// copies with palette conversion.
#include <algorithm>
#include <cmath>

#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TDxTextureData.h"
#include "tvlib/render/TTexture.h"

namespace {

// Quads reaching beyond these edges are cut, texture coordinates in proportion.
constexpr float kClipLow = -800.0f;
constexpr float kClipHigh = 2000.0f;
constexpr float kQuadZ = 0.1f;
constexpr float kQuadRhw = 0.5f;
constexpr uint32_t kQuadSpecular = 0xFF000000u;

struct TScreenVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u, v;
};
static_assert(sizeof(TScreenVertex) == 32);

uint32_t ColourByte(float v) {
  return static_cast<uint32_t>(std::clamp(v * 255.0f, 0.0f, 255.0f));
}

// Cuts the span lo..hi to the clip edges, moving the texture coordinates in proportion.
void ClipSpan(float* lo, float* hi, float* t0, float* t1) {
  float length = *hi - *lo;
  if (length <= 0) return;
  float tLength = *t1 - *t0;
  if (*lo<kClipLow&& * hi> 0) {
    *t0 += tLength * (kClipLow - *lo) / length;
    *lo = kClipLow;
  }
  if (*hi > kClipHigh && *lo < kClipHigh) {
    *t1 -= tLength * (*hi - kClipHigh) / length;
    *hi = kClipHigh;
  }
}

bool IsEmbedded(float* scale) {
  TRenderHost* host = GetCurrentRenderHost();
  *scale = 1.0f;
  return host && host->GetDisplayScale(scale);
}

}  // namespace

void TDxTextureData::Draw(const TVec2* position, float alpha, float scaleX, float scaleY,
                          float angle, const TVec2* anchor, const float* colour, uint32_t drawFlags,
                          const float* matrix, const TRect* sourceRect) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  if (!surface || !handler || !handler->Data().device || !position) return;
  TDxDisplayHandlerData& hd = handler->Data();
  sd::TDevice3d& device = *hd.device;
  TRect source = sourceRect ? *sourceRect : TRect{0, 0, width, height};
  bool vertexAlphaOnly = alpha < 0;
  if (vertexAlphaOnly) alpha = -alpha;
  device.SetTextureStageState(0, sd::kTssAlphaOp,
                              vertexAlphaOnly ? sd::kTopSelectArg2 : sd::kTopModulate);

  float sourceWidth = static_cast<float>(source.right - source.left);
  float sourceHeight = static_cast<float>(source.bottom - source.top);
  float x = position->x + static_cast<float>(hd.viewport.left);
  float y = position->y + static_cast<float>(hd.viewport.top);
  float left = anchor ? x - anchor->x * scaleX : x - sourceWidth * scaleX * 0.5f;
  float top = anchor ? y - anchor->y * scaleY : y - sourceHeight * scaleY * 0.5f;
  float right = left + sourceWidth * scaleX;
  float bottom = top + sourceHeight * scaleY;
  float u0 = static_cast<float>(source.left) / static_cast<float>(allocatedWidth);
  float u1 = static_cast<float>(source.right) / static_cast<float>(allocatedWidth);
  float v0 = static_cast<float>(source.top) / static_cast<float>(allocatedHeight);
  float v1 = static_cast<float>(source.bottom) / static_cast<float>(allocatedHeight);
  ClipSpan(&left, &right, &u0, &u1);
  ClipSpan(&top, &bottom, &v0, &v1);

  static const float kWhite[3] = {1, 1, 1};
  const float* c = colour ? colour : kWhite;
  uint32_t diffuse = (ColourByte(alpha) << 24) | (ColourByte(c[0]) << 16) |
                     (ColourByte(c[1]) << 8) | ColourByte(c[2]);
  float offset = hd.texelOffset;
  TScreenVertex quad[4] = {
      {left + offset, top + offset, kQuadZ, kQuadRhw, diffuse, kQuadSpecular, u0, v0},
      {right + offset, top + offset, kQuadZ, kQuadRhw, diffuse, kQuadSpecular, u1, v0},
      {right + offset, bottom + offset, kQuadZ, kQuadRhw, diffuse, kQuadSpecular, u1, v1},
      {left + offset, bottom + offset, kQuadZ, kQuadRhw, diffuse, kQuadSpecular, u0, v1}};
  if (matrix) {
    float x0 = quad[0].x, y0 = quad[0].y;
    for (int i = 1; i < 4; ++i) {
      float dx = quad[i].x - x0, dy = quad[i].y - y0;
      quad[i].x = x0 + matrix[0] * dx + matrix[2] * dy;
      quad[i].y = y0 + matrix[1] * dx + matrix[3] * dy;
    }
  }
  // Mirror lines and the rotation centre: the anchor point, or the middle of the quad.
  float pivotX = anchor ? left + anchor->x * scaleX + offset : (left + right) * 0.5f + offset;
  float pivotY = anchor ? top + anchor->y * scaleY + offset : (top + bottom) * 0.5f + offset;
  for (TScreenVertex& v : quad) {
    if (drawFlags & kDrawMirrorY) v.y = 2 * pivotY - v.y;
    if (drawFlags & kDrawMirrorX) v.x = 2 * pivotX - v.x;
  }
  if (angle != 0.0f) {
    float cs = std::cos(angle), sn = std::sin(angle);
    for (TScreenVertex& v : quad) {
      float dx = v.x - pivotX, dy = v.y - pivotY;
      v.x = pivotX + cs * dx - sn * dy;
      v.y = pivotY + sn * dx + cs * dy;
    }
  }
  float scale = 1.0f;
  if (IsEmbedded(&scale)) {
    for (TScreenVertex& v : quad) {
      v.x *= scale;
      v.y *= scale;
    }
  }
  device.SetTexture(0, surface);
  sd::HR hr = device.DrawPrimitive(sd::kPtTriangleFan, sd::kFvfTLVertex, quad, 4);
  if (hr == sd::kErrOutOfVideoMemory) handler->HandleOutOfVideoMemory();
}

void TDxTextureData::DrawClipped(float x, float y, float alpha, float scale,
                                 const TRect* clipRect) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  if (!surface || !handler || !handler->Data().device) return;
  TDxDisplayHandlerData& hd = handler->Data();
  TRect clip{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + width * scale),
             static_cast<int>(y + height * scale)};
  if (clipRect) {
    x -= static_cast<float>(clipRect->left);
    y -= static_cast<float>(clipRect->top);
    clip = TRect{clipRect->left + static_cast<int>(x), clipRect->top + static_cast<int>(y),
                 clipRect->right + static_cast<int>(x), clipRect->bottom + static_cast<int>(y)};
  }
  const auto& target = *hd.renderTargets.front();
  clip.right = std::min(clip.right, target.right - target.left);
  clip.bottom = std::min(clip.bottom, target.bottom - target.top);
  clip.left = std::max(clip.left, hd.viewport.left);
  clip.top = std::max(clip.top, hd.viewport.top);
  clip.right = std::min(clip.right, hd.viewport.right);
  clip.bottom = std::min(clip.bottom, hd.viewport.bottom);
  handler->PushViewport(clip.left, clip.top, clip.right, clip.bottom);
  TVec2 position(x, y);
  TVec2 anchor(0, 0);
  TRect whole{0, 0, allocatedWidth, allocatedHeight};
  // The viewport pushed above moved the origin: positions are relative to it again.
  position.x -= static_cast<float>(hd.viewport.left);
  position.y -= static_cast<float>(hd.viewport.top);
  Draw(&position, alpha, scale, scale, 0.0f, &anchor, nullptr, 0, nullptr, &whole);
  handler->PopViewport();
}

void TDxTextureData::CopyRect(int x, int y, const TRect* sourceRect,
                              const std::shared_ptr<TTexture>& target) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  if (!surface || !handler || !handler->Data().device) return;
  float scale = 1.0f;
  if (!target && IsEmbedded(&scale)) {
    DrawClipped(static_cast<float>(x), static_cast<float>(y), 1.0f, 1.0f, sourceRect);
    return;
  }
  TDxTextureData* targetData = target ? target->GetData() : nullptr;
  sd::TSurfacePtr destination = target ? (targetData ? targetData->surface : nullptr)
                                       : handler->Data().renderTargets.front()->surface;
  if (!destination) return;
  TRect source = sourceRect ? *sourceRect : TRect{0, 0, width, height};
  // Both rectangles are clipped first: to the source image and to the destination surface.
  source.left = std::max(source.left, 0);
  source.top = std::max(source.top, 0);
  source.right = std::min(source.right, width);
  source.bottom = std::min(source.bottom, height);
  if (x < 0) {
    source.left -= x;
    x = 0;
  }
  if (y < 0) {
    source.top -= y;
    y = 0;
  }
  source.right = std::min(source.right, source.left + destination->Width() - x);
  source.bottom = std::min(source.bottom, source.top + destination->Height() - y);
  if (source.right <= source.left || source.bottom <= source.top) return;

  bool targetPalettized = targetData && (targetData->flags & kTexturePalettized);
  if ((flags & kTexturePalettized) && currentPalette && !targetPalettized) {
    sd::TRect dstRect{x, y, x + source.right - source.left, y + source.bottom - source.top};
    sd::TRect srcRect{source.left, source.top, source.right, source.bottom};
    sd::TLocked dst, src;
    if (sd::Failed(destination->Lock(&dstRect, &dst, sd::kLockWait))) return;
    if (sd::Failed(surface->Lock(&srcRect, &src, sd::kLockWait))) {
      destination->Unlock();
      return;
    }
    const sd::TPixelFormat& f = destination->Format();
    int bytes = sd::BytesPerPixel(f);
    for (int row = 0; row < dstRect.Height(); ++row) {
      const uint8_t* in = src.bits + static_cast<size_t>(row) * src.pitch;
      uint8_t* out = dst.bits + static_cast<size_t>(row) * dst.pitch;
      for (int col = 0; col < dstRect.Width(); ++col) {
        uint32_t entry = currentPalette[in[col]];
        if (bytes == 4) {
          sd::WriteRaw(out + col * 4, 4, entry);
        } else if (bytes == 2) {
          auto part = [](uint32_t byte, uint32_t mask) {
            int bits = sd::CountBits(mask);
            return ((byte >> (8 - std::min(bits, 8))) << sd::LowestSetBit(mask)) & mask;
          };
          uint32_t raw = part((entry >> 16) & 0xFF, f.rMask) | part((entry >> 8) & 0xFF, f.gMask) |
                         part(entry & 0xFF, f.bMask) | part(entry >> 24, f.aMask);
          sd::WriteRaw(out + col * 2, 2, raw);
        }
      }
    }
    surface->Unlock();
    destination->Unlock();
    return;
  }
  sd::TRect srcRect{source.left, source.top, source.right, source.bottom};
  sd::HR hr = destination->BltFast(x, y, surface.get(), &srcRect, sd::kBltFastWait);
  if (hr == sd::kErrSurfaceLost) {
    handler->NoteDeviceTrouble();
  } else if (hr == sd::kErrOutOfVideoMemory) {
    handler->HandleOutOfVideoMemory();
  }
}
