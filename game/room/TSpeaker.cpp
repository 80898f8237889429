// The speaker's attached sprite.
#include "game/room/TSpeaker.h"

#include "game/room/TFestraSprite.h"

TSpeaker::~TSpeaker() {
  DetachSprite();
}

void TSpeaker::DetachSprite() {
  if (!mAttached) return;
  if (TSprite* parent = mAttached->GetParent()) parent->RemoveChild(mAttached.get());
  // The attached sprite's link back to the room is its owner pointer.
  if (auto sprite = CastToFestraSprite(mAttached)) {
    sprite->SetOwner(nullptr);
  } else if (mAttached->IsKindOf(TFestraAnimSprite::GetClassId())) {
    static_cast<TFestraAnimSprite&>(*mAttached).SetOwner(nullptr);
  }
  mAttached.reset();
}
