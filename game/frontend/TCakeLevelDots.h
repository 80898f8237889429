// The venue map's level dots: a 500 x 500 window over the map's venues with one dot per
// story level (fifty, ten per venue), drawn locked, open, or open with the expert goal
// reached, and a ring on the selected level. A click within 12 pixels of an open dot selects
// its level.
//
// Dots of venues up to the venue count are drawn: every venue's ten are open but the last
// venue's, which has its finished levels and the next one open. The dot of (venue v, level l)
// is drawn centred on its position, index 10 (v - 1) + (l - 1). Reads the current player's
// "Expert%d.%d". UI thread only.
#pragma once

#include <array>
#include <memory>

#include "game/frontend/LevelProgress.h"
#include "tvlib/core/TVec.h"
#include "tvlib/ui/TWindow.h"

class TTexture;

class TCakeLevelDots : public TWindow {
 public:
  static constexpr int kSize = 500;
  static constexpr int kDotCount = kVenueCount * kVenueLevels;
  static constexpr int kClickRadius = 12;  // pixels; a click this far or farther misses

  enum class TLook { kHidden, kLocked, kOpen, kOpenExpert };

  // The venues up to `venueCount` (at most five) shown, the last of them up to the level
  // after `lastLevel`; that next level selected.
  TCakeLevelDots(int venueCount, int lastLevel);
  ~TCakeLevelDots() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  void Draw() override;
  // Selects the level of the open dot under the point; every click is handled.
  bool OnMouseDown(TPoint* point) override;

  void SetDotPosition(int venue, int level, TVec2 position);
  TVec2 GetDotPosition(int venue, int level) const;
  // How the dot of (venue, level) is drawn for `player` (selection left out).
  TLook GetLook(int venue, int level, int player) const;
  // The click rule: selects the level of the open dot within kClickRadius of the point;
  // false (nothing changed) when there is none.
  bool SelectAt(TVec2 point);

  int GetSelectedVenue() const { return mSelected.venue; }
  int GetSelectedLevel() const { return mSelected.level; }
  bool HasSelection() const { return mSelected.venue != -1 && mSelected.level != -1; }
  // Whether the selection changed since the last call (true once after construction).
  bool TakeSelectionChanged();

 private:
  // The open dots of venue index v (0-based): 10 but for the last venue.
  int OpenDots(int v) const;

  int mVenueCount;
  int mLastLevel;
  TLevelRef mSelected{-1, -1};
  bool mSelectionChanged = true;
  std::array<TVec2, kDotCount> mPositions{};
  std::shared_ptr<TTexture> mLocked, mOpen, mOpenExpert, mSelectedRing;
};
