// The root screen: its fill and the render target's copy onto the display.
#include "tvlib/ui/TScreen.h"

#include <algorithm>

#include "tvlib/core/TColor32.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TWindowManager.h"

TScreen::TScreen() {
  AddFlags(kWindowLayer | kWindowStopInvalidation);
}

TWindow* TScreen::Create() {
  return new TScreen;
}

TWindowClassId TScreen::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TScreen::Create);
}

bool TScreen::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TModalWindow::IsKindOf(id);
}

void TScreen::SetFill(bool fill, const float colour[4]) {
  mFill = fill;
  for (int i = 0; i < 4; ++i) mFillColor[i] = colour[i];
  Invalidate();
}

void TScreen::Draw() {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  TRect area;
  const TRect* dirty = GetDirtyRect();
  if (dirty && !IsEmptyRect(*dirty)) {
    area = *dirty;
  } else {
    int left = 0, top = 0, right = 0, bottom = 0;
    platform->GetViewport(&left, &top, &right, &bottom);
    area = TRect{dirty ? dirty->left : 0, dirty ? dirty->top : 0, right - left, bottom - top};
  }
  if (mFill) {
    TRect fill = area;
    fill.left = std::max(fill.left, 0);
    fill.top = std::max(fill.top, 0);
    fill.right = std::min(fill.right, GetRect().right);
    fill.bottom = std::min(fill.bottom, GetRect().bottom);
    if (!IsEmptyRect(fill)) {
      const TColor32 colour(mFillColor[0], mFillColor[1], mFillColor[2], mFillColor[3]);
      platform->FillRect(fill.left, fill.top, fill.right - fill.left, fill.bottom - fill.top,
                         colour, nullptr);
    }
  }
  TWindowManager* manager = TWindowManager::Get();
  if (manager && manager->GetRenderTarget() && !IsEmptyRect(area)) {
    manager->GetRenderTarget()->CopyRect(area.left, area.top, &area, nullptr);
  }
}
