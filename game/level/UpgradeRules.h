// The rules of upgrades, apart from any window: which upgrades a player owns, which three
// the upgrade dialog offers, where a story choice is stored and which stored upgrades a
// level applies when it loads.
//
// A player's upgrades are kept per venue in "levelUpgrade%d" (the map number), ten slots of
// which slot k holds the upgrade chosen after winning level k + 1 of that venue (0: none).
// The endless reception keeps the upgrades taken so far in "arcadeUpgradeFlag", in the order
// taken, with "arcadeUpgrade" (the one just chosen, -1 for none) and "waitingUpgrade" (1
// while its upgrade dialog is open) beside them. All are per-player values.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

#include "tvlib/core/TString.h"

class TPrefs;

// Upgrade numbers run from 1 to 32.
inline constexpr int kUpgradeCount = 32;
inline constexpr int kUpgradeSlots = 10;
inline constexpr int kUpgradeOffers = 3;
// The last level of a venue.
inline constexpr int kLevelsPerVenue = 10;

inline constexpr char kArcadeUpgradeFlagKey[] = "arcadeUpgradeFlag";
inline constexpr char kArcadeUpgradeKey[] = "arcadeUpgrade";
inline constexpr char kWaitingUpgradeKey[] = "waitingUpgrade";

using TUpgradeSlots = std::array<int32_t, kUpgradeSlots>;
// The offered upgrade numbers, -1 for an empty place.
using TUpgradeOffer = std::array<int, kUpgradeOffers>;
// Bit n: upgrade n is owned (bit 0 is never set).
using TOwnedUpgrades = std::bitset<kUpgradeCount + 1>;

// "levelUpgrade%d" of the venue.
TString StoryUpgradeKey(int map);

// The upgrades in the first `count` slots (at most all ten); values outside 1 to 32 own
// nothing.
TOwnedUpgrades OwnedUpgrades(const TUpgradeSlots& slots, int count);

// The offer: walking the priority list in order up to its first entry that is not above 0,
// each upgrade from 1 to 32 that is neither owned nor already offered is offered when its
// prerequisite (`prereq` of its number) is 0 or owned (a negative one is never met), until
// three are offered. Places left over hold -1.
TUpgradeOffer OfferUpgrades(const std::vector<int>& priority, const std::function<int(int)>& prereq,
                            const TOwnedUpgrades& owned);

// The slot of the upgrade chosen after winning story level `level`: level - 1 for the levels
// 1 to 10 of a venue, -1 (store nothing) for any other.
int StoryUpgradeSlot(int level);

// The upgrades a story level applies when it loads, in slot order: those chosen after the
// levels before it (the first level - 1 slots, values above 0).
std::vector<int> StoryUpgradesToApply(const TUpgradeSlots& slots, int level);

// The stored list of the player under `key`; all zero when it is missing.
TUpgradeSlots LoadUpgradeSlots(TPrefs& prefs, const TString& key, int player);
// Stores the list, saved at once.
void StoreUpgradeSlots(TPrefs& prefs, const TString& key, const TUpgradeSlots& slots, int player);
