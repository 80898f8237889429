// What the room's objects ask of the level that owns them. The level driver sits above the
// room and implements this; each room sprite keeps a plain pointer to its owner, set by the
// level when it places the sprite (null for a sprite no level owns).
//
// Objects report clicks only through OnObjectClicked, raise the heroine's problems only
// through the planner event list (AddEvent, RemoveEvent, RemoveMatchingEvent) and start the
// level's special effects by file name (StartEffect); they ask the tutorial and the loader
// through the queries at the end. Everything else the level calls on the objects directly.
// UI thread only.
#pragma once

#include "tvlib/core/TString.h"

class TSprite;

class TRoomLevel {
 public:
  virtual ~TRoomLevel() = default;

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
  // Starts an effect file ("fx/...") in the level's special-effect list; answers the id of
  // the effects' group.
  virtual int StartEffect(const TString& file) = 0;
  // Whether the tutorial lets the servers pick up items of the type now.
  virtual bool CanServerPickUp(int itemType) = 0;
  // True while the level's loader builds the room: objects raise no planner events then.
  virtual bool IsLoading() const = 0;
};
