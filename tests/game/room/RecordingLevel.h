// A level that records what the room's objects tell it and answers their questions as a
// test sets; it needs no platform.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/room/TRoomLevel.h"

struct TRecordedEvent {
  int code = 0;
  std::vector<int> spots;  // x, y, balloon x, balloon y, pop-up x, pop-up y
  int key = 0;
};

// A level that keeps every call of the room's objects, and answers keys from 1 up.
class TRecordingLevel : public TRoomLevel {
 public:
  TRecordingLevel() = default;
  TRecordingLevel& operator=(const TRecordingLevel&) = default;
  ~TRecordingLevel() override { DetachRoom(); }

  int OnObjectClicked(TSprite* object, int code) override {
    clicks.emplace_back(object, code);
    return 0;
  }
  int AddEvent(int code, int x, int y, int balloonX, int balloonY, int popupX,
               int popupY) override {
    added.push_back(TRecordedEvent{code, {x, y, balloonX, balloonY, popupX, popupY}, nextKey});
    return nextKey++;
  }
  void RemoveEvent(int code) override { removed.push_back(code); }
  void RemoveMatchingEvent(int code, int key) override { removedMatching.emplace_back(code, key); }
  void ShowDesireIcon(int desire, TFestraGuest* guest) override {
    desireIcons.emplace_back(guest, desire);
  }
  void HandleGuestDesire(int desire, TFestraGuest* guest) override {
    handled.emplace_back(guest, desire);
  }
  void AwardSeatingMatch(TFestraGuest* guest) override { matches.push_back(guest); }
  void ResetSeatingCombo() override { ++comboResets; }
  // The guests seated by the test, held weakly like the level's own.
  std::shared_ptr<TFestraGuest> FindChair(const TFestraTable* table, int seat) override {
    const auto found = seated.find({table, seat});
    return found == seated.end() ? nullptr : found->second.lock();
  }
  int RateSeatingMatch(const TFestraGuest* /*guest*/, const TFestraGuest* /*other*/) override {
    return rating;
  }
  bool AllowsSeatChanges() override { return seatChanges; }
  void AddMetricsCount(const char* key, int value) override { counts.emplace_back(key, value); }
  int StartSobbing() override {
    sobbing.push_back(nextSob);
    return nextSob++;
  }
  void StopSobbing(int handle) override { stoppedSobs.push_back(handle); }
  // The file, followed by " x,y" when started at a room point.
  int StartEffect(const TString& file, const TVec2* at) override {
    std::string effect = file.c_str();
    if (at)
      effect += " " + std::to_string(static_cast<int>(at->x)) + "," +
                std::to_string(static_cast<int>(at->y));
    effects.push_back(effect);
    return 100 * static_cast<int>(effects.size());
  }
  bool CanServerPickUp(int itemType) override {
    return pickUpRestriction == -1 || pickUpRestriction == itemType;
  }
  bool IsLoading() const override { return loading; }
  bool IsWaitressPaused() override { return waitressPaused; }
  void PlayClickSound() override { ++clickSounds; }

  std::vector<std::pair<TSprite*, int>> clicks;
  std::vector<TRecordedEvent> added;
  std::vector<int> removed;
  std::vector<std::pair<int, int>> removedMatching;
  int nextKey = 1;
  std::vector<std::pair<TFestraGuest*, int>> desireIcons;
  std::vector<std::pair<TFestraGuest*, int>> handled;
  std::vector<TFestraGuest*> matches;
  int comboResets = 0;
  std::map<std::pair<const TFestraTable*, int>, std::weak_ptr<TFestraGuest>> seated;
  int rating = 0;
  bool seatChanges = false;
  std::vector<std::pair<std::string, int>> counts;
  std::vector<std::string> effects;
  std::vector<int> sobbing;
  std::vector<int> stoppedSobs;
  int nextSob = 7;
  int pickUpRestriction = -1;  // the tutorial's: -1 lets every type be picked up
  bool loading = false;
  bool waitressPaused = false;
  int clickSounds = 0;
};
