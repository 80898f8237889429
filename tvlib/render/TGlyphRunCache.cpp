// The glyph run cache; see TGlyphRunCache.h.
#include "tvlib/render/TGlyphRunCache.h"

#include <algorithm>
#include <bit>

int TGlyphRunCache::Chain(const TGlyphKey& key) {
  uint64_t hash = reinterpret_cast<uintptr_t>(key.outline);
  auto mix = [&hash](uint64_t v) { hash = (hash ^ v) * 0x100000001B3ull; };
  mix(key.phaseX | key.phaseY << 2 | key.italic << 4);
  for (float f : {key.scaleX, key.scaleY, key.strokeWidth[0], key.strokeWidth[1], key.cosAngle,
                  key.sinAngle}) {
    mix(std::bit_cast<uint32_t>(f));
  }
  return static_cast<int>((hash ^ hash >> 29) % kChains);
}

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
