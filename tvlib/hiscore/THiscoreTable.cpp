// The insertion, tie and cap rules of the local hiscore tables.
#include "tvlib/hiscore/THiscoreTable.h"

#include <utility>

bool InsertHiscoreEntry(THiscoreTable* table, THiscoreEntry entry, bool bestOnly) {
  std::vector<THiscoreEntry>& entries = table->entries;
  if (bestOnly) {
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].name != entry.name) continue;
      if (entries[i].score >= entry.score) return false;
      entry.guid = entries[i].guid;
      entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
      for (size_t j = i; j < entries.size(); ++j) --entries[j].rank;
      break;
    }
  }
  size_t at = 0;
  while (at < entries.size() && entries[at].score >= entry.score) ++at;
  if (at == entries.size()) {
    if (entries.size() >= static_cast<size_t>(kHiscoreMaxEntries)) return false;
    entry.rank = static_cast<int>(entries.size()) + 1;
    entries.push_back(std::move(entry));
    return true;
  }
  entry.rank = entries[at].rank;
  for (size_t j = at; j < entries.size(); ++j) ++entries[j].rank;
  entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  if (entries.size() > static_cast<size_t>(kHiscoreMaxEntries)) entries.pop_back();
  return true;
}
