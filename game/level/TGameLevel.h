// The level window (window type "GameWindow"): it owns the reception room's objects, drives
// them on its tick and hears from them through TRoomLevel. Built so far: its class identity,
// the planner event list it forwards the room's event calls to, and the click entry the room
// objects call, which the level's click routing overrides. Effects, the tutorial and the
// loader are not built yet: effect files are logged and not played, every pick-up is allowed
// and the level is never loading. UI thread only.
#pragma once

#include "game/level/TVelkaEventList.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/ui/TWindow.h"

class TGameLevel : public TWindow, public TRoomLevel {
 public:
  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // The click entry of room objects; no click is routed here yet: answers 0.
  int OnObjectClicked(TSprite* object, int code) override;
  int AddEvent(int code, int x, int y, int balloonX, int balloonY, int popupX,
               int popupY) override {
    return mVelkaEvents.AddEvent(code, x, y, balloonX, balloonY, popupX, popupY);
  }
  void RemoveEvent(int code) override { mVelkaEvents.RemoveEvent(code); }
  void RemoveMatchingEvent(int code, int key) override {
    mVelkaEvents.RemoveMatchingEvent(code, key);
  }

  int StartEffect(const TString& file) override;
  bool CanServerPickUp(int /*itemType*/) override { return true; }
  bool IsLoading() const override { return false; }

  TVelkaEventList& GetVelkaEvents() { return mVelkaEvents; }

 private:
  TVelkaEventList mVelkaEvents;
};
