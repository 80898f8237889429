// The rasteriser's memory of glyphs it has already swept: per glyph, sub-pixel phase and
// transform, the runs of coverage it produced, so a repeated glyph is replayed instead of
// rasterised. Runs hold coverage and colour slot, not colours, so a replay takes the
// colours current at the time.
//
// Entries are found through 2039 chains hashed on the whole key (the outline alone would put
// every size and angle of a glyph on one chain). Outlines are matched by their bytes, which
// the cache keeps a copy of: a font freed and another loaded at the same address must never
// replay the old glyphs. The cache has a
// memory cap: when a new glyph would start past it, everything is dropped and the cache
// starts again (animated scales and rotations would otherwise grow it without bound).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tvlib/render/TVecSweep.h"

// A run of pixels [x0, x1) of equal coverage in row, relative to the glyph's whole-pixel
// origin.
struct TGlyphRun {
  int16_t x0, x1, row;
  uint8_t coverageMinusOne;  // 0-15
  uint8_t slot;
};
static_assert(sizeof(TGlyphRun) == 8);

// An outline program's bytes up to and including its end (or first unknown) byte, and the
// hash the cache files them by. Finding them walks and hashes the whole program, so a font
// makes them once when it loads and a glyph drawn from it needs neither. A font's glyphs
// also carry their points, cut once (none for a bare program).
struct TOutlineRef {
  std::span<const uint8_t> bytes;
  uint64_t hash = 0;
  const TVecGlyphPoints* points = nullptr;
  static TOutlineRef Of(const uint8_t* program);
};

struct TGlyphKey {
  // The outline program's bytes (SetOutline), and their hash.
  std::span<const uint8_t> outline;
  uint64_t outlineHash = 0;
  uint8_t phaseX = 0, phaseY = 0;
  bool italic = false;
  float scaleX = 0, scaleY = 0;
  float strokeWidth[2] = {0, 0};
  float cosAngle = 0, sinAngle = 0;

  void SetOutline(const TOutlineRef& ref) {
    outline = ref.bytes;
    outlineHash = ref.hash;
  }
  // Everything but the outline bytes, which the cache compares itself.
  bool SamePlacement(const TGlyphKey& o) const {
    return outlineHash == o.outlineHash && phaseX == o.phaseX && phaseY == o.phaseY &&
           italic == o.italic && scaleX == o.scaleX && scaleY == o.scaleY &&
           strokeWidth[0] == o.strokeWidth[0] && strokeWidth[1] == o.strokeWidth[1] &&
           cosAngle == o.cosAngle && sinAngle == o.sinAngle;
  }
};

class TGlyphRunCache {
 public:
  static constexpr size_t kDefaultCapBytes = 4u << 20;

  explicit TGlyphRunCache(size_t capBytes = kDefaultCapBytes) : mCapBytes(capBytes) {
    mHeads.assign(kChains, -1);
  }

  // The runs of a cached glyph; false when it is not cached.
  bool Find(const TGlyphKey& key, std::span<const TGlyphRun>& runs) const;
  // Starts recording a glyph (emptying the cache first when it is past its cap), then
  // AddRuns with its runs and EndGlyph.
  void BeginGlyph(const TGlyphKey& key);
  void AddRuns(std::span<const TGlyphRun> runs) {
    mRuns.insert(mRuns.end(), runs.begin(), runs.end());
  }
  void EndGlyph();

  int GetEntryCount() const { return static_cast<int>(mEntries.size()); }
  size_t GetBytes() const {
    return mRuns.size() * sizeof(TGlyphRun) + mEntries.size() * sizeof(TEntry) + mOutlines.size();
  }

 private:
  static constexpr int kChains = 2039;
  struct TEntry {
    TGlyphKey key;  // without its outline span: the bytes are copied into mOutlines
    size_t outlineStart, outlineLength;
    size_t firstRun;
    size_t runCount;
    int next;
  };
  static int Chain(const TGlyphKey& key);

  size_t mCapBytes;
  std::vector<int> mHeads;
  std::vector<TEntry> mEntries;
  std::vector<TGlyphRun> mRuns;
  std::vector<uint8_t> mOutlines;  // the cached glyphs' outline bytes, back to back
};
