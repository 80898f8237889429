// What the room's objects ask of the level that owns them. The level driver sits above the
// room and implements this; each room sprite keeps a plain pointer to its owner, set by the
// level when it places the sprite (null for a sprite no level owns).
//
// Objects report clicks only through OnObjectClicked and raise the heroine's problems only
// through the planner event list (AddEvent, RemoveEvent, RemoveMatchingEvent); everything
// else the level calls on the objects directly. UI thread only.
#pragma once

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
};
