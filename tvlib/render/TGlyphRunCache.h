// The rasteriser's memory of glyphs it has already swept: per glyph, sub-pixel phase and
// transform, the rows of coverage it produced (as the sweep hands them out), so a repeated glyph
// is replayed instead of rasterised. Rows hold coverage and colour slot, not colours, so a
// replay takes the colours current at the time.
//
// Entries are found through 2048 chains hashed on the whole key (the outline alone would put
// every size and angle of a glyph on one chain). A font's glyphs are matched by an identity
// given at load and never given again in the run, so a font freed and another loaded at the
// same address never replays the old glyphs; bare programs are matched by their bytes, which
// the cache keeps a copy of. The cache has a memory cap: when a new glyph would start past it,
// everything is dropped and the cache starts again (animated scales and rotations would otherwise
// grow it without bound). A glyph found stays where it is until the next BeginGlyph.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tvlib/platform/render/TRaster.h"
#include "tvlib/render/TVecSweep.h"

// A cached glyph: its rows (as the display reads them, relative to the glyph's whole-pixel
// origin), top to bottom, the box they lie in, and their coverage bytes back to back, followed by
// the readable bytes the display's coverage glyphs need (sd::kCoverageReadSlack).
struct TCachedGlyph {
  std::span<const sd::TRasterGlyphRow> rows;
  sd::TRasterGlyphBox box;
  const uint8_t* coverage = nullptr;
};

// An outline program's bytes up to and including its end (or first unknown) byte, and the
// hash the cache files them by. Finding them walks and hashes the whole program, so a font
// makes them once when it loads and a glyph drawn from it needs neither. A font's glyphs
// also carry their points, cut once, and their identity (none for a bare program).
struct TOutlineRef {
  std::span<const uint8_t> bytes;
  uint64_t hash = 0;
  const TVecGlyphPoints* points = nullptr;
  // Nonzero: the glyph's identity, which no other outline gets in this run of the program.
  uint64_t identity = 0;
  static TOutlineRef Of(const uint8_t* program);
  // The first of count identities never handed out before.
  static uint64_t NewIdentities(size_t count);
};

struct TGlyphKey {
  // The outline program's bytes (SetOutline), their hash and the outline's identity.
  std::span<const uint8_t> outline;
  uint64_t outlineHash = 0;
  uint64_t identity = 0;
  uint8_t phaseX = 0, phaseY = 0;
  bool italic = false;
  float scaleX = 0, scaleY = 0;
  float strokeWidth[2] = {0, 0};
  float cosAngle = 0, sinAngle = 0;

  void SetOutline(const TOutlineRef& ref) {
    outline = ref.bytes;
    outlineHash = ref.hash;
    identity = ref.identity;
  }
  // Everything but the outline bytes, which the cache compares itself where there is no
  // identity.
  // Transforms compare by their bits (without a branch a field), so a key with a NaN finds
  // itself again.
  bool SamePlacement(const TGlyphKey& o) const {
    const auto bits = [](float v) { return std::bit_cast<uint32_t>(v); };
    const uint64_t flags =
        uint64_t(phaseX ^ o.phaseX) | uint64_t(phaseY ^ o.phaseY) | uint64_t(italic != o.italic);
    const uint32_t transform = (bits(scaleX) ^ bits(o.scaleX)) | (bits(scaleY) ^ bits(o.scaleY)) |
                               (bits(strokeWidth[0]) ^ bits(o.strokeWidth[0])) |
                               (bits(strokeWidth[1]) ^ bits(o.strokeWidth[1])) |
                               (bits(cosAngle) ^ bits(o.cosAngle)) |
                               (bits(sinAngle) ^ bits(o.sinAngle));
    return ((outlineHash ^ o.outlineHash) | (identity ^ o.identity) | flags | transform) == 0;
  }
};

class TGlyphRunCache {
 public:
  static constexpr size_t kDefaultCapBytes = 4u << 20;

  explicit TGlyphRunCache(size_t capBytes = kDefaultCapBytes) : mCapBytes(capBytes) {
    mHeads.assign(kChains, -1);
  }

  // The rows of a cached glyph; false when it is not cached.
  bool Find(const TGlyphKey& key, TCachedGlyph& glyph) const;
  // Starts recording a glyph (emptying the cache first when it is past its cap), then AddRows
  // with its rows as the sweep hands them out, and EndGlyph, which answers the glyph recorded.
  void BeginGlyph(const TGlyphKey& key);
  void AddRows(std::span<const TCoverageRow> rows, const uint8_t* coverage);
  TCachedGlyph EndGlyph();

  int GetEntryCount() const { return static_cast<int>(mEntries.size()); }
  size_t GetBytes() const {
    return mRows.size() * sizeof(sd::TRasterGlyphRow) + mCoverage.size() +
           mEntries.size() * sizeof(TEntry) + mOutlines.size();
  }

 private:
  static constexpr int kChainBits = 11;
  static constexpr int kChains = 1 << kChainBits;
  struct TEntry {
    TGlyphKey key;  // without its outline span: the bytes of a bare program are copied into
                    // mOutlines
    size_t outlineStart, outlineLength;
    size_t firstRow, rowCount;
    sd::TRasterGlyphBox box;
    size_t firstCoverage;
    int next;
  };
  static int Chain(const TGlyphKey& key);
  TCachedGlyph GlyphOf(const TEntry& entry) const;

  size_t mCapBytes;
  std::vector<int> mHeads;
  std::vector<TEntry> mEntries;
  std::vector<sd::TRasterGlyphRow> mRows;
  std::vector<uint8_t> mCoverage;  // the rows' coverage bytes, back to back
  std::vector<uint8_t> mOutlines;  // the cached glyphs' outline bytes, back to back
};
