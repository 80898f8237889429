// What the room's objects ask of the level that owns them. The level driver sits above the
// room and implements this; each room sprite keeps a weak reference to its owner
// (TRoomLevelRef), set by the level when it places the sprite (none for a sprite no level
// owns).
//
// The level's lifetime: an implementation calls DetachRoom first thing in its destructor.
// From then on every reference answers null, so a guest that goes with the level's members
// (stopping its sobbing, removing its planner event) finds no level instead of a level half
// torn down, whatever the order of those members.
//
// Objects report clicks only through OnObjectClicked and raise the heroine's problems only
// through the planner event list (AddEvent, RemoveEvent, RemoveMatchingEvent); guests also
// hand the level their desires, seating results and sobbing through the calls below, and
// objects start the level's special effects by file name (StartEffect) and ask the tutorial
// and the loader through the queries at the end. Everything else the level calls on the
// objects directly. UI thread only.
#pragma once

#include <memory>

#include "tvlib/core/TString.h"
#include "tvlib/core/TVec.h"

class TSprite;
class TFestraGuest;
class TFestraTable;

class TRoomLevel {
 public:
  TRoomLevel();
  virtual ~TRoomLevel();
  // A copy is a level of its own: the references to the original do not follow it.
  TRoomLevel(const TRoomLevel& /*other*/) : TRoomLevel() {}
  TRoomLevel& operator=(const TRoomLevel& /*other*/) { return *this; }

  // A click on a room object: 1500 from a guest (1501 while busy), 1900 from a server or
  // the planner, else the object's object-type code. The answer is not read by the objects.
  virtual int OnObjectClicked(TSprite* object, int code) = 0;
  // Adds a planner problem event of the code (1002 cake table, 1004 head table, 1005
  // tissue, 1006 coffee): the problem's spot, its balloon's spot and the spot of its point
  // pop-ups. Answers the event's key.
  virtual int AddEvent(int code, int x, int y, int balloonX, int balloonY, int popupX,
                       int popupY) = 0;
  // Removes the first planner event of the code; nothing when there is none.
  virtual void RemoveEvent(int code) = 0;
  // Removes the planner event of the code with the key AddEvent gave; nothing when absent.
  virtual void RemoveMatchingEvent(int code, int key) = 0;

  // What guests tell the level. The desire icon of a guest's desire pops up over it.
  virtual void ShowDesireIcon(int desire, TFestraGuest* guest) = 0;
  // The level's reaction to a desire code a guest produced outside its update's answer.
  virtual void HandleGuestDesire(int desire, TFestraGuest* guest) = 0;
  // A guest's seat-wait ended with neighbours to its liking: the seating combo grows by one
  // and the seating points are awarded.
  virtual void AwardSeatingMatch(TFestraGuest* guest) = 0;
  // A guest's seat-wait ended badly: the seating combo starts again at 0.
  virtual void ResetSeatingCombo() = 0;
  // The guest seated at that seat of that table; empty for a seat outside the chairs, a free
  // seat or a guest that has left.
  virtual std::shared_ptr<TFestraGuest> FindChair(const TFestraTable* table, int seat) = 0;
  // How a guest likes its neighbour: 1 liked or indifferent, -1 disliked, 0 no preference.
  virtual int RateSeatingMatch(const TFestraGuest* guest, const TFestraGuest* other) = 0;
  // True when guests may ask to change seats in this level.
  virtual bool AllowsSeatChanges() = 0;
  // Adds to a count of the play metrics ("PlayTime" with the elapsed ms from guests,
  // "VelkaEventsCompleted" from the cake and head tables when the heroine fixed them).
  virtual void AddMetricsCount(const char* key, int value) = 0;
  // Starts the looping sobbing sound of a tissue request; answers its handle or -1.
  virtual int StartSobbing() = 0;
  virtual void StopSobbing(int handle) = 0;
  // Starts an effect file ("fx/...") in the level's special-effect list, at the room point
  // `at` or, when null, where the file places it; answers the id of the effects' group.
  virtual int StartEffect(const TString& file, const TVec2* at) = 0;
  // Whether the tutorial lets the servers pick up items of the type now.
  virtual bool CanServerPickUp(int itemType) = 0;
  // True while the level's loader builds the room: objects raise no planner events then.
  virtual bool IsLoading() const = 0;

  // What servers and the planner ask. True while the tutorial holds the servers still.
  virtual bool IsWaitressPaused() = 0;
  // The click sound of a click a character queued.
  virtual void PlayClickSound() = 0;

 protected:
  // Every TRoomLevelRef to this level answers null from now on. Called first in the
  // destructor of the implementation; calling it again does nothing.
  void DetachRoom() { mSelf.reset(); }

 private:
  friend class TRoomLevelRef;
  // Owns nothing: its count is what the room's weak references watch.
  std::shared_ptr<TRoomLevel> mSelf;
};

// What a room object keeps of its level: the level, or null when it set none or has
// detached its room.
class TRoomLevelRef {
 public:
  TRoomLevelRef() = default;
  TRoomLevelRef(TRoomLevel* level);  // NOLINT: a level converts implicitly
  TRoomLevel* Get() const { return mLevel.lock().get(); }

 private:
  std::weak_ptr<TRoomLevel> mLevel;
};
