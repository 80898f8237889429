// Owned upgrades, the offer walk and the stored lists.
#include "game/level/UpgradeRules.h"

#include <algorithm>

#include "game/level/StoredInts.h"

namespace {

bool IsUpgrade(int n) {
  return n >= 1 && n <= kUpgradeCount;
}

}  // namespace

TString StoryUpgradeKey(int map) {
  return TString::Format("levelUpgrade%d", map);
}

TOwnedUpgrades OwnedUpgrades(const TUpgradeSlots& slots, int count) {
  TOwnedUpgrades owned;
  const int last = std::clamp(count, 0, kUpgradeSlots);
  for (int i = 0; i < last; ++i) {
    if (IsUpgrade(slots[static_cast<size_t>(i)]))
      owned.set(static_cast<size_t>(slots[static_cast<size_t>(i)]));
  }
  return owned;
}

TUpgradeOffer OfferUpgrades(const std::vector<int>& priority, const std::function<int(int)>& prereq,
                            const TOwnedUpgrades& owned) {
  TUpgradeOffer offer;
  offer.fill(-1);
  TOwnedUpgrades offered;
  size_t count = 0;
  for (int n : priority) {
    if (n <= 0 || count == offer.size()) break;
    if (!IsUpgrade(n) || owned[static_cast<size_t>(n)] || offered[static_cast<size_t>(n)]) continue;
    const int needs = prereq(n);
    const bool met = needs == 0 || (IsUpgrade(needs) && owned[static_cast<size_t>(needs)]);
    if (!met) continue;
    offered.set(static_cast<size_t>(n));
    offer[count++] = n;
  }
  return offer;
}

int StoryUpgradeSlot(int level) {
  return level >= 1 && level <= kLevelsPerVenue ? level - 1 : -1;
}

std::vector<int> StoryUpgradesToApply(const TUpgradeSlots& slots, int level) {
  std::vector<int> upgrades;
  const int last = std::clamp(level - 1, 0, kUpgradeSlots);
  for (int i = 0; i < last; ++i) {
    if (slots[static_cast<size_t>(i)] > 0) upgrades.push_back(slots[static_cast<size_t>(i)]);
  }
  return upgrades;
}

TUpgradeSlots LoadUpgradeSlots(TPrefs& prefs, const TString& key, int player) {
  TUpgradeSlots slots{};
  LoadInts(prefs, key, slots.data(), kUpgradeSlots, player);
  return slots;
}

void StoreUpgradeSlots(TPrefs& prefs, const TString& key, const TUpgradeSlots& slots, int player) {
  StoreInts(prefs, key, slots.data(), kUpgradeSlots, player);
}
