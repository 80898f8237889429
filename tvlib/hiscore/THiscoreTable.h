// The hiscore service's tables: entries, tables, online categories and stored logins, and the
// rule by which a new local score enters a table.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "tvlib/core/TString.h"

// A local table holds at most this many entries.
inline constexpr int kHiscoreMaxEntries = 500;

struct THiscoreEntry {
  int rank = 0;
  int score = 0;
  TString name;
  TString gameData;
  TString serverData;
  TString version;
  bool anonymous = false;  // the online reply's flag; every local entry has it set
  bool submitted = false;
  TString guid;
};

struct THiscoreTable {
  TString name;
  std::vector<THiscoreEntry> entries;  // best first
};

struct THiscoreCategory {
  TString tableId;
  TString displayName;
};

struct THiscoreLogin {
  TString player;
  TString account;
  TString password;
};

using THiscoreTables = std::map<TString, std::unique_ptr<THiscoreTable>>;
using THiscoreLogins = std::map<TString, THiscoreLogin>;

// Enters `entry` (its score, name and the rest; rank is set here) into `table`.
// With `bestOnly`, the first entry of the same name decides: when it scores at least as much
// nothing changes; otherwise it is removed (the entries below close the gap, their ranks one
// less) and the new entry inherits its GUID. The new entry goes below every entry scoring at
// least as much and takes the rank of the first lower one, whose rank and those below grow by
// one; the table keeps at most kHiscoreMaxEntries, dropping the last. False when nothing
// changed (a score not above the player's own with `bestOnly`, or too low for a full table).
bool InsertHiscoreEntry(THiscoreTable* table, THiscoreEntry entry, bool bestOnly);
