// A clickable room object: a TFestraSprite with an object-type code (RoomCodes.h) by which
// the level and the servers handle its clicks, and a check-mark overlay that shows while
// clicks on the object are pending (servers on their way). UI thread only.
#pragma once

#include <memory>

#include "game/room/RoomCodes.h"
#include "game/room/TFestraSprite.h"

class TFestraStateAnim;

class TFestraObject : public TFestraSprite {
  TV_SPRITE_CLASS(TFestraObject, TFestraSprite)

 public:
  // The check mark's animation, which plays by its own script.
  static constexpr const char* kCheckMark = "assets/images/checkmark";

  // Makes the overlay one layer above, centred on the object's size as known now.
  explicit TFestraObject(int layer = 0);
  ~TFestraObject() override;

  // Stores the code and hides the overlay.
  virtual void SetObjectType(int code);
  int GetObjectType() const { return mObjectType; }
  // Above 0 the overlay shows and plays its animation once; else it hides and stops.
  void SetMarkCount(int count);
  int GetMarkCount() const { return mMarkCount; }
  const std::shared_ptr<TFestraStateAnim>& GetCheckMark() const { return mCheckMark; }
  // What a server's click queue tells an object that hands out picks (the serving table):
  // the click on it was accepted, so the item of the slot last clicked is marked; the
  // server's queue was cleared, so the most recently marked item is unmarked. Other objects
  // keep no picks.
  virtual void MarkClickedItem() {}
  virtual void UnmarkFirstItem() {}

 protected:
  // Stores the code only, the overlay as it is.
  void StoreObjectType(int code) { mObjectType = code; }

 private:
  int mObjectType = kObjectNone;
  int mMarkCount = 0;
  std::shared_ptr<TFestraStateAnim> mCheckMark;
};
