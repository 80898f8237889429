// The level's small room rules.
#include "game/level/RoomRules.h"

#include <algorithm>
#include <cstdlib>

#include "tvlib/core/DebugLog.h"

namespace {

constexpr int kAvoidTypeBase = 20;
constexpr int kLastTypeTarget = 99;
constexpr int kTableBase = 100;
constexpr int kAvoidTableBase = 150;

}  // namespace

bool DrawsBefore(const TDepthKey& a, const TDepthKey& b) {
  const int keyA = a.bottom - (a.seatedGuest ? kSeatedGuestLift : 0);
  const int keyB = b.bottom - (b.seatedGuest ? kSeatedGuestLift : 0);
  if (std::abs(keyA - keyB) >= kDepthTieBand) return keyA < keyB;
  return a.centreX < b.centreX;
}

int CheckSeatingTarget(int target, int neighbourType) {
  if (target == -1 || target == neighbourType) return 1;
  if (target == neighbourType + kAvoidTypeBase) return -1;
  if (target < kAvoidTypeBase || target > kLastTypeTarget) return 0;
  return 1;
}

bool ItemMatchesDesire(int desire, int itemKind) {
  return (desire == 2 && itemKind == 1) || (desire == 3 && itemKind == 2) ||
         (desire == 4 && itemKind == 3) || (desire == 6 && itemKind == 7);
}

TMatchPreference DecodeMatchType(int matchType, int rowCount, int tableCount) {
  TMatchPreference preference;
  if (matchType < 0) return preference;
  const bool avoid =
      (matchType >= kAvoidTypeBase && matchType <= kLastTypeTarget) || matchType >= kAvoidTableBase;
  const int index = matchType >= kAvoidTableBase ? matchType - (kAvoidTableBase - kTableBase)
                    : avoid                      ? matchType - kAvoidTypeBase
                                                 : matchType;
  preference.avoid = avoid;
  if (index >= kTableBase) {
    if (index - kTableBase < tableCount) {
      preference.value = matchType;
      preference.table = index - kTableBase;
      return preference;
    }
  } else if (index < rowCount) {
    preference.value = matchType;
    preference.row = index;
    return preference;
  }
  preference.avoid = false;
  DebugLog("DecodeMatchType: matchType %d names no guest type or table here; no preference",
           matchType);
  return preference;
}

int GuestPatience(int tolerance, int bonus) {
  return std::max(kMinPatience, tolerance + bonus);
}
