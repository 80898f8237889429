// The planner's problem events of a level: the cake table tipped over, the couple unhappy, a
// guest's tissue or coffee request, scripted problems. Each event has a code (the problem's
// kind), a key unique in the level (a counter from 1; dynamic events, code 2000, add 2000 to
// it), a delay before it shows, an optional effect script, the problem's spot and the spots of
// its balloon and its point pop-ups. Events are kept in the order they were made.
//
// This holds the records and their bookkeeping; the balloons, world objects, penalties and
// effects of active events belong to the level's play rules. UI thread only.
#pragma once

#include <list>

#include "tvlib/core/TString.h"

// The code of dynamic, script-raised events; their keys are 2000 and above.
inline constexpr int kDynamicEventCode = 2000;

struct TVelkaEvent {
  int code = 0;
  int key = 0;
  bool active = false;
  int delay = 0;  // ms left before the event shows
  TString effectPath;
  int x = 0, y = 0;
  int popupX = 0, popupY = 0;
  int balloonX = 0, balloonY = 0;
};

class TVelkaEventList {
 public:
  // Answers the new event's key.
  int CreateEvent(int code, int x, int y, int balloonX, int balloonY, int popupX, int popupY,
                  const TString& effectPath, int delay);
  // CreateEvent without an effect, shown without delay.
  int AddEvent(int code, int x, int y, int balloonX, int balloonY, int popupX, int popupY) {
    return CreateEvent(code, x, y, balloonX, balloonY, popupX, popupY, TString(), 0);
  }
  // Removes the first event of the code; nothing when there is none.
  void RemoveEvent(int code);
  // Removes the first event of the code with the key; nothing when there is none.
  void RemoveMatchingEvent(int code, int key);
  // Null when no event has the key.
  const TVelkaEvent* FindByKey(int key) const;
  const std::list<TVelkaEvent>& GetEvents() const { return mEvents; }

 private:
  std::list<TVelkaEvent> mEvents;
  int mNextKey = 1;
};
