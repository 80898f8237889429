// The waiting line: where arriving guests stand until the player seats them, a grid of 14
// ranks of 4 places, rank 13 at the front. Only ranks 11 to 13 are on screen; the ranks behind
// them are parked above the room. A new guest takes the last free place before the first
// taken one, so the line fills from the front; when a guest leaves it, every rank left empty
// takes the guests of the rank behind it. The grid holds guests it does not own: the level
// removes a guest before letting it go. UI thread only.
#pragma once

#include <array>
#include <vector>

#include "tvlib/core/TPoint.h"

class TFestraGuest;

class TWaitingLine {
 public:
  static constexpr int kRanks = 14;
  static constexpr int kPlaces = 4;
  static constexpr int kFrontRank = kRanks - 1;
  // Ranks below this one are parked out of sight.
  static constexpr int kFirstShownRank = 11;
  static constexpr int kParkedY = -500;

  struct TSpot {
    int rank = -1;
    int place = -1;
  };

  // Where the guest of a rank and place stands in the room.
  static TPoint SpotPoint(int rank, int place);

  // The guest's spot, or {-1, -1} when the line is full up to its last rank (nothing
  // changes then). An empty line puts it at the front rank's last place.
  TSpot Add(TFestraGuest* guest);
  // Takes the guest out and moves the line up; answers the guests whose spot changed.
  std::vector<TFestraGuest*> Remove(const TFestraGuest* guest);
  bool Contains(const TFestraGuest* guest) const;
  TSpot Find(const TFestraGuest* guest) const;
  TFestraGuest* At(int rank, int place) const;
  // The lowest rank holding a guest; -1 when the line is empty.
  int FirstOccupiedRank() const;
  void Clear();

 private:
  bool IsRankEmpty(int rank) const;

  std::array<std::array<TFestraGuest*, kPlaces>, kRanks> mGrid{};
};
