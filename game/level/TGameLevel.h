// The level window (window type "GameWindow"): it owns the reception room's objects, drives
// them on its tick and hears from them through TRoomLevel. Built so far: its class identity,
// the planner event list it forwards the room's event calls to, the click entry the room
// objects call, which the level's click routing overrides, the seating combo, the guests'
// sobbing sound and the metrics counts. The guests' desire icons and desire handling, the
// seated guests, the effect lists, the tutorial and the loader belong to the level's
// play rules, not built yet: until then those calls do nothing, FindChair finds nobody,
// effect files are logged and not played, every pick-up is allowed and the level is never
// loading. UI thread only.
#pragma once

#include <memory>

#include "game/level/TVelkaEventList.h"
#include "game/room/TRoomLevel.h"
#include "tvlib/ui/TWindow.h"

class TSound;

class TGameLevel : public TWindow, public TRoomLevel {
 public:
  static TWindow* Create();
  ~TGameLevel() override;
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

  void ShowDesireIcon(int /*desire*/, TFestraGuest* /*guest*/) override {}
  void HandleGuestDesire(int /*desire*/, TFestraGuest* /*guest*/) override {}
  // The seating combo grows by one.
  void AwardSeatingMatch(TFestraGuest* guest) override;
  void ResetSeatingCombo() override { mSeatingCombo = 0; }
  std::shared_ptr<TFestraGuest> FindChair(const TFestraTable* /*table*/, int /*seat*/) override {
    return nullptr;
  }
  // 1 when the guest likes anyone (-1) or the other's type, -1 when it dislikes the other's
  // type (20 + type), 1 for any other dislike, 0 otherwise and for a missing guest.
  int RateSeatingMatch(const TFestraGuest* guest, const TFestraGuest* other) override;
  bool AllowsSeatChanges() override { return mAllowsSeatChanges; }
  // To the metrics reporter.
  void AddMetricsCount(const char* key, int value) override;
  // "assets/audio/sfx/aunt_sobs.ogg", looped.
  int StartSobbing() override;
  void StopSobbing(int handle) override;
  int StartEffect(const TString& file, const TVec2* at) override;
  bool CanServerPickUp(int /*itemType*/) override { return true; }
  bool IsLoading() const override { return false; }
  // The tutorial and the level's click sound belong to the play rules too: until then the
  // servers are never held and queue without a sound.
  bool IsWaitressPaused() override { return false; }
  void PlayClickSound() override {}

  TVelkaEventList& GetVelkaEvents() { return mVelkaEvents; }
  int GetSeatingCombo() const { return mSeatingCombo; }
  void SetAllowsSeatChanges(bool allow) { mAllowsSeatChanges = allow; }

 private:
  TVelkaEventList mVelkaEvents;
  int mSeatingCombo = 0;
  bool mAllowsSeatChanges = false;
  std::shared_ptr<TSound> mSobbingSound;
};
