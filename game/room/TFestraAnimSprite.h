// The room's placed animated sprite: a TAnimatedSprite put in the room by a position and
// an anchor like TFestraSprite, sized by its current frame, with a weak reference to its
// owner. UI thread only.
#pragma once

#include "game/room/RoomAnchors.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/core/TPoint.h"
#include "tvlib/media/TAnimatedSprite.h"

class TFestraAnimSprite : public TAnimatedSprite {
  TV_SPRITE_CLASS(TFestraAnimSprite, TAnimatedSprite)

 public:
  explicit TFestraAnimSprite(int layer = 0) : TAnimatedSprite(layer) {}

  virtual bool OnClick(TPoint point);
  virtual void SetPosition(float x, float y, int anchor);
  // The bounding rectangle in the parent's co-ordinates.
  virtual TRect GetLocalBounds(int depth);
  // The local bounds moved by the parent's position (truncated), one level up only.
  virtual TRect GetBounds(int depth);
  // The size of the sprite's current frame; 0 when it shows no animation.
  virtual int GetHeight() const;
  virtual int GetWidth() const;

  // The position, truncated toward zero.
  TPoint GetPosition() const;
  void PlaceAt(int x, int y, int anchor) {
    SetPosition(static_cast<float>(x), static_cast<float>(y), anchor);
  }
  // True when neither the sprite nor any descendant is playing.
  bool IsAnimationDone() { return !IsPlaying(-1); }
  void SetAnchor(int anchor) { mAnchor = anchor; }
  int GetAnchor() const { return mAnchor; }
  void SetOwner(TRoomLevel* level) { mOwner = level; }
  // The level, null when none owns the sprite or it has detached its room.
  TRoomLevel* GetOwner() const { return mOwner.Get(); }

 protected:
  // Stores the position and puts it in the record.
  void StorePosition(TVec2 position);

 private:
  TRoomLevelRef mOwner;
  TVec2 mPosition;
  int mAnchor = kAnchorTopLeft;
};
