// The planner event list's records: making events with their keys and removing them.
#include "game/level/TVelkaEventList.h"

#include <algorithm>

int TVelkaEventList::CreateEvent(int code, int x, int y, int balloonX, int balloonY, int popupX,
                                 int popupY, const TString& effectPath, int delay) {
  TVelkaEvent event;
  event.code = code;
  event.key = mNextKey++;
  if (code == kDynamicEventCode) event.key += kDynamicEventCode;
  event.delay = delay;
  event.effectPath = effectPath;
  event.x = x;
  event.y = y;
  event.popupX = popupX;
  event.popupY = popupY;
  event.balloonX = balloonX;
  event.balloonY = balloonY;
  mEvents.push_back(event);
  return event.key;
}

void TVelkaEventList::RemoveEvent(int code) {
  auto it = std::find_if(mEvents.begin(), mEvents.end(),
                         [code](const TVelkaEvent& e) { return e.code == code; });
  if (it != mEvents.end()) mEvents.erase(it);
}

void TVelkaEventList::RemoveMatchingEvent(int code, int key) {
  auto it = std::find_if(mEvents.begin(), mEvents.end(), [code, key](const TVelkaEvent& e) {
    return e.code == code && e.key == key;
  });
  if (it != mEvents.end()) mEvents.erase(it);
}

const TVelkaEvent* TVelkaEventList::FindByKey(int key) const {
  auto it = std::find_if(mEvents.begin(), mEvents.end(),
                         [key](const TVelkaEvent& e) { return e.key == key; });
  return it == mEvents.end() ? nullptr : &*it;
}
