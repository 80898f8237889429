// The cake table: the couple's cake standing on a table. Once per level it may tip over,
// after a delay and with a chance, which raises the planner problem event 1002 with the
// owning level; fixing the problem puts table and cake back. States of table and cake: 0
// upright, 1 tipped. UI thread only.
#pragma once

#include <memory>

#include "game/room/TFestraStateAnim.h"
#include "game/room/TRoomLevel.h"

class TCakeTable : public TFestraStateAnim {
  TV_SPRITE_CLASS(TCakeTable, TFestraStateAnim)

 public:
  static constexpr int kUpright = 0;
  static constexpr int kTipped = 1;

  explicit TCakeTable(int layer = 0);
  ~TCakeTable() override;

  // The cake may tip at the first check more than `delayMs` after the last one that drew,
  // with `chancePercent` (0 never); the level receives the problem event.
  void SetTipOver(int delayMs, int chancePercent, TRoomLevel* level);
  // The cake's upright and tipped animations; it shows upright, scaled 5/3, at (20, 45).
  void SetCakeImages(const TString& upright, const TString& tipped);
  // Two values the planning set-up keeps with the table (3000 and 250); nothing reads them.
  void SetPlanningTimes(int first, int second) {
    mPlanningTimes[0] = first;
    mPlanningTimes[1] = second;
  }
  // Called on the level's tick: true when the table tipped over now.
  bool CheckTipOver(int elapsedMs);
  // Table and cake upright again; the problem event 1002 removed and counted as completed
  // ("VelkaEventsCompleted") in the level's metrics.
  void OnProblemFixed();

  const std::shared_ptr<TFestraStateAnim>& GetCake() const { return mCake; }
  int GetTipChance() const { return mTipChance; }

 private:
  std::shared_ptr<TFestraStateAnim> mCake;
  int mPlanningTimes[2] = {0, 0};
  int mTipDelay = 0;
  int mTipChance = 0;
  int mElapsed = 0;
  TRoomLevelRef mLevel;
};
