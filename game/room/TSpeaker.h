// The music speaker: a state animation that can carry one attached sprite (the loose wire
// the level shows while its "SPEAKER_UNPLUGGED" problem is on). Detaching takes the sprite
// off its parent, clears its link to the level and lets it go; the speaker detaches it when
// it is destroyed. UI thread only.
#pragma once

#include <memory>

#include "game/room/TFestraStateAnim.h"

class TSpeaker : public TFestraStateAnim {
  TV_SPRITE_CLASS(TSpeaker, TFestraStateAnim)

 public:
  explicit TSpeaker(int layer = 0) : TFestraStateAnim(layer) {}
  ~TSpeaker() override;

  void AttachSprite(std::shared_ptr<TSprite> sprite) { mAttached = std::move(sprite); }
  // Nothing without an attached sprite.
  void DetachSprite();
  const std::shared_ptr<TSprite>& GetAttachedSprite() const { return mAttached; }

 private:
  std::shared_ptr<TSprite> mAttached;
};
