// Drawing the level (the loading box, the effects behind and before the room, the room) and
// the room's depth order.
#include <algorithm>

#include "game/level/RoomRules.h"
#include "game/level/TGameLevel.h"
#include "game/level/TLoadingBox.h"
#include "game/room/TFestraGuest.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/media/TDrawSpec.h"

namespace {

constexpr int kFirstDepthLayer = 508;
constexpr int kDepthLayerStep = 50;
constexpr int kDropCode = 1502;

TDepthKey DepthKeyOf(TSprite& sprite) {
  TRect bounds;
  if (auto* festra = dynamic_cast<TFestraSprite*>(&sprite)) {
    bounds = festra->GetBounds(-1);
  } else if (auto* animated = dynamic_cast<TFestraAnimSprite*>(&sprite)) {
    bounds = animated->GetBounds(-1);
  } else {
    bounds = sprite.GetBoundingRect(TDrawSpec(), -1);
  }
  auto* guest = dynamic_cast<TFestraGuest*>(&sprite);
  return TDepthKey{bounds.bottom, (bounds.left + bounds.right) / 2,
                   guest != nullptr && guest->GetTable() != nullptr};
}

}  // namespace

void TGameLevel::Draw() {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  const bool began = !platform->IsIn2d() && platform->Begin2d();
  if (!platform->IsIn2d()) return;
  int left = 0, top = 0, right = 0, bottom = 0;
  platform->GetViewport(&left, &top, &right, &bottom);
  const TRect screen = GetScreenRect();
  const TDrawSpec spec(TVec2(static_cast<float>(screen.left - left + 400),
                             static_cast<float>(screen.top - top + 300)));
  if (mLoadingBox) mLoadingBox->Draw(spec, -1);
  mBackEffects.Draw(1.0f);
  if (mState != kLoading) mSceneRoot->Draw(spec, -1);
  mEffects.Draw(1.0f);
  if (began) platform->End2d();
}

bool TGameLevel::OnMouseUp(TPoint* point) {
  if ((mState == kServing || mState == kClosing) && mHeldGuest && point) {
    mHeldGuest->SetPosition(static_cast<float>(point->x),
                            static_cast<float>(point->y + mHeldGuest->GetHeight() / 2),
                            kStoredAnchor);
    OnObjectClicked(mHeldGuest.get(), kDropCode);
  }
  return true;
}

// An insertion sort: the depth order's tie band makes it no strict order, which the standard
// sorts require; this one only ever swaps neighbours that are out of order.
void TGameLevel::SortByDepth(bool force) {
  std::vector<TDepthKey> keys;
  keys.reserve(mDepthObjects.size());
  for (const auto& sprite : mDepthObjects) keys.push_back(DepthKeyOf(*sprite));
  bool changed = false;
  for (size_t i = 1; i < mDepthObjects.size(); ++i) {
    for (size_t j = i; j > 0 && DrawsBefore(keys[j], keys[j - 1]); --j) {
      std::swap(keys[j], keys[j - 1]);
      std::swap(mDepthObjects[j], mDepthObjects[j - 1]);
      changed = true;
    }
  }
  if (!changed && !force) return;
  int layer = kFirstDepthLayer;
  for (const auto& sprite : mDepthObjects) {
    sprite->SetLayer(layer);
    layer += kDepthLayerStep;
  }
}
