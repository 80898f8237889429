// Small rules of the level over its room, kept free of sprites so that they can be checked
// on their own: the depth order of room sprites, guests' seating targets, which delivered item
// a desire takes, and the checks on a guest entry's preference and patience.
#pragma once

#include "tvlib/core/TString.h"

// What the depth order knows of a room sprite: the bottom of its bounds, the centre of its
// bounds across, and whether it is a guest seated at a table.
struct TDepthKey {
  int bottom = 0;
  int centreX = 0;
  bool seatedGuest = false;
};

// Bottoms closer than this are a tie, decided across.
inline constexpr int kDepthTieBand = 5;
// A seated guest's bottom counts this much higher.
inline constexpr int kSeatedGuestLift = 25;

// True when `a` is drawn before (behind) `b`: the smaller bottom first, the one further
// left first within the tie band.
bool DrawsBefore(const TDepthKey& a, const TDepthKey& b);

// A guest's seating target rated against a neighbour of `neighbourType`: 1 without target
// (-1) or for the target type, -1 for the target type + 20 (not beside one), 0 for another
// guest type or a target outside 20 to 99, 1 otherwise (table targets).
int CheckSeatingTarget(int target, int neighbourType);
// Targets: beside a guest of the type (type), not beside one (type + 20), at a table of the
// colour (colour + 100), not at one (colour + 150).
inline int TargetBesideType(int type, bool avoid) {
  return type + (avoid ? 20 : 0);
}
inline int TargetTableColour(int colour, bool avoid) {
  return colour + (avoid ? 150 : 100);
}

// Whether a delivered item kind is what a guest's desire asks for: appetizer (desire 2,
// item 1), dinner (3, 2), cake (4, 3), drink (6, 7).
bool ItemMatchesDesire(int desire, int itemKind);

// A guest entry's "matchType" decoded against what exists: the rows of guest animations and
// the guest tables. `row` is the guest type whose icon shows the preference, `table` the
// index of the table whose mark shows it, each -1 when it does not apply.
struct TMatchPreference {
  // -1 none; 0-19 beside a type, 20-99 not beside one; for a table the entry's own value,
  // which the caller replaces by TargetTableColour with the table's colour and `avoid`.
  int value = -1;
  int row = -1;
  int table = -1;
  bool avoid = false;
};
// A value naming a row or a table that does not exist counts as no preference (-1) and is
// logged: the entry is never used to index past the rows or tables.
TMatchPreference DecodeMatchType(int matchType, int rowCount, int tableCount);

// The smallest patience a guest gets: its mood is read in thirds of it.
inline constexpr int kMinPatience = 3;
// A guest entry's patience in ms: its tolerance plus the level's bonus, at least kMinPatience.
int GuestPatience(int tolerance, int bonus);
