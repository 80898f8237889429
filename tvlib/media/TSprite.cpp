// The sprite tree: children in layer order, drawing, bounds and hit tests.
#include "tvlib/media/TSprite.h"

#include <algorithm>
#include <cmath>

#include "tvlib/core/DebugLog.h"
#include "tvlib/media/TSpriteQuad.h"
#include "tvlib/render/TTexture.h"

namespace {

// Truncated toward zero, kept inside the int range (NaN gives 0).
int TruncToInt(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return 2147483520;
  if (v <= -2147483520.0f) return -2147483520;
  return static_cast<int>(v);
}

}  // namespace

TSprite::TSprite(int layer) : mLayer(layer) {}

TSprite::~TSprite() {
  DetachChildren();
}

void TSprite::DetachChildren() {
  std::vector<std::shared_ptr<TSprite>> children;
  children.swap(mChildren);
  for (const auto& child : children) child->mParent = nullptr;
}

void TSprite::SetTexture(std::shared_ptr<TTexture> texture) {
  mTexture = std::move(texture);
}

void TSprite::SortChildren() {
  std::stable_sort(mChildren.begin(), mChildren.end(),
                   [](const auto& a, const auto& b) { return a->mLayer < b->mLayer; });
}

void TSprite::SetLayer(int layer) {
  if (layer == mLayer) return;
  mLayer = layer;
  if (mParent) mParent->SortChildren();
}

void TSprite::AddChild(const std::shared_ptr<TSprite>& child) {
  if (!child || child->mParent == this) return;
  for (const TSprite* s = this; s; s = s->mParent) {
    if (s == child.get()) {
      DebugLog("TSprite::AddChild: a sprite cannot hold itself or its own ancestor");
      return;
    }
  }
  if (child->mParent) child->mParent->RemoveChild(child.get());
  mChildren.push_back(child);
  SortChildren();
  child->mParent = this;
}

bool TSprite::RemoveChild(TSprite* child) {
  auto it = std::find_if(mChildren.begin(), mChildren.end(),
                         [child](const auto& c) { return c.get() == child; });
  if (it == mChildren.end()) return false;
  const std::shared_ptr<TSprite> keep = *it;  // the child outlives its own unlinking
  keep->mParent = nullptr;
  mChildren.erase(it);
  return true;
}

void TSprite::DrawChildren(const TDrawSpec& spec, int depth, bool behind) {
  // By index, each child held while it draws: a list changed meanwhile is never overrun.
  for (size_t i = 0; i < mChildren.size(); ++i) {
    if ((mChildren[i]->mLayer < 0) != behind) {
      if (behind) return;
      continue;
    }
    const std::shared_ptr<TSprite> child = mChildren[i];
    child->Draw(spec, depth - 1);
  }
}

void TSprite::Draw(const TDrawSpec& parent, int depth) {
  if (!mVisible) return;
  TDrawSpec spec = mSpec.Combine(parent);
  spec.ScaleInPlace(mScale);
  if (depth != 0) DrawChildren(spec, depth, true);
  if (mTexture) DrawSpriteQuad(mTexture, spec);
  if (depth != 0) DrawChildren(spec, depth, false);
}

TRect TSprite::GetBoundingRect(const TDrawSpec& parent, int depth) {
  const TDrawSpec spec = mSpec.Combine(parent);
  TRect out{kNoBounds, kNoBounds, -kNoBounds, -kNoBounds};
  if (mTexture) {
    float w, h;
    if (spec.flags & kSpecSourceRect) {
      w = static_cast<float>(spec.sourceRect.right - spec.sourceRect.left);
      h = static_cast<float>(spec.sourceRect.bottom - spec.sourceRect.top);
    } else {
      w = static_cast<float>(mTexture->GetWidth());
      h = static_cast<float>(mTexture->GetHeight());
    }
    const TVec2 origin = (spec.flags & kSpecRegistration) ? -spec.origin : TVec2(-w / 2, -h / 2);
    const TVec2 a = origin * spec.transform;
    const TVec2 b = (origin + TVec2(w, h)) * spec.transform;
    out = TRect{TruncToInt(std::min(a.x, b.x)), TruncToInt(std::min(a.y, b.y)),
                TruncToInt(std::max(a.x, b.x)), TruncToInt(std::max(a.y, b.y))};
  }
  for (size_t i = 0; i < mChildren.size(); ++i) {
    const std::shared_ptr<TSprite> child = mChildren[i];
    const TRect r = child->GetBoundingRect(spec, depth - 1);
    out = TRect{std::min(out.left, r.left), std::min(out.top, r.top), std::max(out.right, r.right),
                std::max(out.bottom, r.bottom)};
  }
  return out;
}

bool TSprite::HitTest(TVec2 point, const TDrawSpec& parent, int depth) {
  if (!mTexture) return false;
  const TRect r = GetBoundingRect(parent, depth);
  return r.left <= point.x && point.x <= r.right && r.top <= point.y && point.y <= r.bottom;
}
