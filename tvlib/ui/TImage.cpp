// The image window's sizing and its drawing of dirty parts.
#include "tvlib/ui/TImage.h"

#include <algorithm>
#include <cmath>

#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TVec.h"
#include "tvlib/render/TTexture.h"

TImage::TImage(bool layer) {
  if (layer) AddFlags(kWindowLayer);
}

TWindow* TImage::Create() {
  return new TImage;
}

TWindowClassId TImage::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TImage::Create);
}

bool TImage::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TImage::SetTexture(std::shared_ptr<TTexture> texture, float scale) {
  mTexture = std::move(texture);
  mScale = scale;
  if (mTexture) {
    SetSize(static_cast<int>(static_cast<float>(mTexture->GetWidth()) * scale + 0.5f),
            static_cast<int>(static_cast<float>(mTexture->GetHeight()) * scale + 0.5f));
  } else {
    Invalidate();
  }
}

void TImage::Draw() {
  TPlatform* platform = TPlatform::GetInstance();
  if (!mTexture || !platform || !(mScale > 0.0f)) return;
  const bool began = !platform->IsIn2d() && platform->Begin2d();
  if (!platform->IsIn2d()) return;
  // Drawing positions count from the current viewport's corner, which the tree walk set to
  // the visible part of this window.
  int left = 0, top = 0, right = 0, bottom = 0;
  platform->GetViewport(&left, &top, &right, &bottom);
  const TRect screen = GetScreenRect();
  const float x = static_cast<float>(screen.left - left);
  const float y = static_cast<float>(screen.top - top);
  const TRect* dirty = GetDirtyRect();
  DrawPart(x, y, dirty ? *dirty : GetLocalRect());
  if (began) platform->End2d();
}

void TImage::DrawPart(float x, float y, const TRect& area) {
  TRect part;
  part.SetIntersection(area, GetLocalRect());
  if (IsEmptyRect(part)) return;
  // The dirty area in texture pixels, widened to whole texels; drawn where those texels land.
  TRect source{static_cast<int>(std::floor(static_cast<float>(part.left) / mScale)),
               static_cast<int>(std::floor(static_cast<float>(part.top) / mScale)),
               static_cast<int>(std::ceil(static_cast<float>(part.right) / mScale)),
               static_cast<int>(std::ceil(static_cast<float>(part.bottom) / mScale))};
  source.right = std::min(source.right, mTexture->GetWidth());
  source.bottom = std::min(source.bottom, mTexture->GetHeight());
  if (IsEmptyRect(source)) return;
  const TVec2 position(x + static_cast<float>(source.left) * mScale,
                       y + static_cast<float>(source.top) * mScale);
  const TVec2 anchor(0.0f, 0.0f);
  mTexture->DrawTransformed(&position, 1.0f, mScale, mScale, 0.0f, &anchor, nullptr, 0, &source);
}
