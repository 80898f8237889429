// Placing animated room sprites by anchor, and their bounds.
#include "game/room/TFestraAnimSprite.h"

#include "game/room/TFestraSprite.h"
#include "tvlib/media/TAnimatedTexture.h"

bool TFestraAnimSprite::OnClick(TPoint /*point*/) {
  return false;
}

void TFestraAnimSprite::StorePosition(TVec2 position) {
  mPosition = position;
  mSpec.flags |= kSpecRegistration;
  mSpec.origin = TVec2();
  mSpec.SetPosition(mPosition);
}

void TFestraAnimSprite::SetPosition(float x, float y, int anchor) {
  if (anchor == kStoredAnchor) anchor = mAnchor;
  StorePosition(AnchorTopLeft(x, y, GetWidth(), GetHeight(), anchor, mPosition));
}

TPoint TFestraAnimSprite::GetPosition() const {
  return TPoint{TruncateToInt(mPosition.x), TruncateToInt(mPosition.y)};
}

TRect TFestraAnimSprite::GetLocalBounds(int depth) {
  return GetBoundingRect(TDrawSpec(), depth);
}

TRect TFestraAnimSprite::GetBounds(int depth) {
  TRect r = GetLocalBounds(depth);
  const TPoint offset = ParentOffset(*this);
  return TRect{r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y};
}

// The shared texture's current frame belongs to whichever sprite drew last: the size is read
// from this sprite's own frame.
int TFestraAnimSprite::GetHeight() const {
  if (!GetAnimatedTexture()) return 0;
  const TRect r = GetAnimatedTexture()->GetFrameRect(GetCurrentFrame());
  return r.bottom - r.top;
}

int TFestraAnimSprite::GetWidth() const {
  if (!GetAnimatedTexture()) return 0;
  const TRect r = GetAnimatedTexture()->GetFrameRect(GetCurrentFrame());
  return r.right - r.left;
}
