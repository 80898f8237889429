// Placing room sprites by anchor, and their bounds.
#include "game/room/TFestraSprite.h"

#include "tvlib/render/TTexture.h"

std::shared_ptr<TFestraSprite> CastToFestraSprite(const std::shared_ptr<TSprite>& sprite) {
  if (!sprite || !sprite->IsKindOf(TFestraSprite::GetClassId())) return nullptr;
  return std::static_pointer_cast<TFestraSprite>(sprite);
}

TPoint ParentOffset(const TSprite& sprite) {
  const TSprite* parent = sprite.GetParent();
  if (!parent) return TPoint{};
  const TVec2 at = parent->GetDrawSpec().GetPosition();
  return TPoint{TruncateToInt(at.x), TruncateToInt(at.y)};
}

bool TFestraSprite::OnClick(TPoint /*point*/) {
  return false;
}

void TFestraSprite::SetPosition(float x, float y, int anchor) {
  if (anchor == kStoredAnchor) anchor = mAnchor;
  mPosition = AnchorTopLeft(x, y, GetWidth(), GetHeight(), anchor, mPosition);
  mSpec.flags |= kSpecRegistration;
  mSpec.origin = TVec2();
  mSpec.SetPosition(mPosition);
}

TPoint TFestraSprite::GetPosition() const {
  return TPoint{TruncateToInt(mPosition.x), TruncateToInt(mPosition.y)};
}

TRect TFestraSprite::GetLocalBounds(int depth) {
  return GetBoundingRect(TDrawSpec(), depth);
}

TRect TFestraSprite::GetBounds(int depth) {
  TRect r = GetLocalBounds(depth);
  const TPoint offset = ParentOffset(*this);
  return TRect{r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y};
}

int TFestraSprite::GetHeight() const {
  return GetTexture() ? GetTexture()->GetHeight() : 0;
}

int TFestraSprite::GetWidth() const {
  return GetTexture() ? GetTexture()->GetWidth() : 0;
}

bool TFestraSprite::ContainsPoint(TPoint point) {
  return GetLocalBounds(-1).Contains(point.x, point.y);
}
