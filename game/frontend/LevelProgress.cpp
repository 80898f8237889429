// The story's progress rules.
#include "game/frontend/LevelProgress.h"

TLevelRef NextLevel(int lastMap, int lastLevel) {
  TLevelRef next{lastMap, lastLevel + 1};
  if (next.level > kVenueLevels) {
    next.level -= kVenueLevels;
    next.venue += 1;
  }
  return next;
}

int LevelStatus(int venue, int level, int lastMap, int lastLevel, bool expert) {
  const TLevelRef next = NextLevel(lastMap, lastLevel);
  if (venue == next.venue && level == next.level) return kLevelNext;
  const bool before = venue < next.venue || (venue == next.venue && level < next.level);
  if (!before) return kLevelLocked;
  return expert ? kLevelExpert : kLevelDone;
}

TString LevelScriptName(bool endless, int venue, int level) {
  if (endless) return TString::Format("assets/scripts/arcade%d.lua", venue);
  return TString::Format("assets/scripts/game%d.%d.lua", venue, level);
}
