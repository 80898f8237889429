// The glyph run cache; see TGlyphRunCache.h.
#include "tvlib/render/TGlyphRunCache.h"

#include <algorithm>

bool TGlyphRunCache::Find(const TGlyphKey& key, std::span<const TGlyphRun>& runs) const {
  for (int e = mHeads[Chain(key)]; e >= 0; e = mEntries[e].next) {
    const TEntry& entry = mEntries[e];
    if (entry.key == key) {
      runs = std::span<const TGlyphRun>(mRuns.data() + entry.firstRun, entry.runCount);
      return true;
    }
  }
  return false;
}

void TGlyphRunCache::BeginGlyph(const TGlyphKey& key) {
  if (GetBytes() >= mCapBytes) {
    mEntries.clear();
    mRuns.clear();
    std::fill(mHeads.begin(), mHeads.end(), -1);
  }
  mEntries.push_back({key, mRuns.size(), 0, -1});
}

void TGlyphRunCache::EndGlyph() {
  TEntry& entry = mEntries.back();
  entry.runCount = mRuns.size() - entry.firstRun;
  int& head = mHeads[Chain(entry.key)];
  entry.next = head;
  head = static_cast<int>(mEntries.size()) - 1;
}
