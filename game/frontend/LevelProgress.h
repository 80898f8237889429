// The story's progress rules the menu and the venue map share: five venues of ten levels,
// the next level to play from the player's last finished one, each level's status, and the
// script that starts a level. Pure functions of their arguments.
#pragma once

#include "tvlib/core/TString.h"

inline constexpr int kVenueCount = 5;
inline constexpr int kVenueLevels = 10;

// What GetLevelStatus answers for a level.
inline constexpr int kLevelLocked = 0;
inline constexpr int kLevelNext = 1;
inline constexpr int kLevelDone = 2;
inline constexpr int kLevelExpert = 3;

struct TLevelRef {
  int venue;
  int level;
};

// The level after (lastMap, lastLevel): the next one of the venue, or level 1 of the next
// venue after its tenth. Not capped: past the last venue it names venue 6.
TLevelRef NextLevel(int lastMap, int lastLevel);
// The status of (venue, level) for a player whose last finished level is (lastMap,
// lastLevel); `expert` says whether the player reached the level's expert goal.
int LevelStatus(int venue, int level, int lastMap, int lastLevel, bool expert);
// The level script: "assets/scripts/arcade%d.lua" (venue) in the endless reception, else
// "assets/scripts/game%d.%d.lua" (venue, level).
TString LevelScriptName(bool endless, int venue, int level);
