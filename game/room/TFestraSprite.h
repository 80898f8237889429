// The room's placed sprite: a TSprite put in the room by a position and one of nine anchors
// (RoomAnchors.h), with integer bounds for hit tests and a weak reference to the level that owns
// it.
//
// SetPosition computes the picture's top-left corner from the anchor and the texture's
// size, and places the image by its top-left corner there (registration-point placement
// with the origin at (0, 0)). The anchor used for kStoredAnchor is the one SetAnchor keeps;
// SetPosition never changes it. UI thread only.
#pragma once

#include "game/room/RoomAnchors.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/core/TPoint.h"
#include "tvlib/media/TSprite.h"

class TFestraSprite : public TSprite {
  TV_SPRITE_CLASS(TFestraSprite, TSprite)

 public:
  explicit TFestraSprite(int layer = 0) : TSprite(layer) {}

  // False: a plain room sprite takes no clicks.
  virtual bool OnClick(TPoint point);
  virtual void SetPosition(float x, float y, int anchor);
  // The top-left corner, truncated toward zero.
  virtual TPoint GetPosition() const;
  // The bounding rectangle (TSprite::GetBoundingRect) in the parent's co-ordinates.
  virtual TRect GetLocalBounds(int depth);
  // The local bounds moved by the parent's position (truncated), one level up only.
  virtual TRect GetBounds(int depth);
  // The texture's size; 0 without texture.
  virtual int GetHeight() const;
  virtual int GetWidth() const;

  // Inside the local bounds of the whole tree, edges included.
  bool ContainsPoint(TPoint point);
  // Places the sprite at whole pixels.
  void PlaceAt(int x, int y, int anchor) {
    SetPosition(static_cast<float>(x), static_cast<float>(y), anchor);
  }
  void SetAnchor(int anchor) { mAnchor = anchor; }
  int GetAnchor() const { return mAnchor; }
  TVec2 GetTopLeft() const { return mPosition; }
  void SetOwner(TRoomLevel* level) { mOwner = level; }
  // The level, null when none owns the sprite or it has detached its room.
  TRoomLevel* GetOwner() const { return mOwner.Get(); }

 private:
  TRoomLevelRef mOwner;
  TVec2 mPosition;
  int mAnchor = kAnchorTopLeft;
};

// The sprite as a room sprite when it is one, else empty.
std::shared_ptr<TFestraSprite> CastToFestraSprite(const std::shared_ptr<TSprite>& sprite);
// The translation of a sprite's parent record, truncated toward zero; (0, 0) without parent.
TPoint ParentOffset(const TSprite& sprite);
