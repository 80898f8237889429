// The glyph cache; see TGlyphRunCache.h.
#include "tvlib/render/TGlyphRunCache.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>

#include "tvlib/render/TVecOutline.h"

TOutlineRef TOutlineRef::Of(const uint8_t* program) {
  size_t length = 0;
  for (int step; (step = VecOpLength(program[length])) != 0 && program[length] != kOpEnd;)
    length += step;
  TOutlineRef ref;
  ref.bytes = std::span<const uint8_t>(program, length + 1);  // with the end (or unknown) byte
  // Eight bytes a step, folding the high bits down so each byte reaches the chain index.
  uint64_t hash = 0xCBF29CE484222325ull;
  size_t at = 0;
  for (; at + 8 <= ref.bytes.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, program + at, 8);
    hash = (hash ^ word) * 0x100000001B3ull;
    hash ^= hash >> 32;
  }
  for (; at < ref.bytes.size(); ++at) hash = (hash ^ program[at]) * 0x100000001B3ull;
  ref.hash = hash;
  return ref;
}

uint64_t TOutlineRef::NewIdentities(size_t count) {
  static std::atomic<uint64_t> next{1};
  return next.fetch_add(count, std::memory_order_relaxed);
}

int TGlyphRunCache::Chain(const TGlyphKey& key) {
  auto pair = [](float low, float high) {
    return uint64_t{std::bit_cast<uint32_t>(low)} | uint64_t{std::bit_cast<uint32_t>(high)} << 32;
  };
  // Independent products, so that no multiply waits for the one before it.
  uint64_t hash = key.outlineHash ^ uint64_t(key.phaseX | key.phaseY << 2 | key.italic << 4);
  hash ^= pair(key.scaleX, key.scaleY) * 0x9E3779B97F4A7C15ull;
  hash ^= pair(key.strokeWidth[0], key.strokeWidth[1]) * 0xC2B2AE3D27D4EB4Full;
  hash ^= pair(key.cosAngle, key.sinAngle) * 0x165667B19E3779F9ull;
  hash = (hash ^ hash >> 31) * 0xBF58476D1CE4E5B9ull;
  return static_cast<int>(hash >> (64 - kChainBits));  // the best-mixed bits
}

TCachedGlyph TGlyphRunCache::GlyphOf(const TEntry& entry) const {
  return {std::span<const sd::TRasterGlyphRow>(mRows.data() + entry.firstRow, entry.rowCount),
          entry.box, mCoverage.data() + entry.firstCoverage};
}

bool TGlyphRunCache::Find(const TGlyphKey& key, TCachedGlyph& glyph) const {
  for (int e = mHeads[Chain(key)]; e >= 0; e = mEntries[e].next) {
    const TEntry& entry = mEntries[e];
    if (entry.key.SamePlacement(key) &&
        (key.identity != 0 || (entry.outlineLength == key.outline.size() &&
                               std::memcmp(mOutlines.data() + entry.outlineStart,
                                           key.outline.data(), key.outline.size()) == 0))) {
      glyph = GlyphOf(entry);
      return true;
    }
  }
  return false;
}

void TGlyphRunCache::BeginGlyph(const TGlyphKey& key) {
  if (GetBytes() >= mCapBytes) {
    mEntries.clear();
    mRows.clear();
    mCoverage.clear();
    mOutlines.clear();
    std::fill(mHeads.begin(), mHeads.end(), -1);
  }
  const size_t outlineLength = key.identity != 0 ? 0 : key.outline.size();
  mEntries.push_back(
      {key, mOutlines.size(), outlineLength, mRows.size(), 0, {}, mCoverage.size(), -1});
  mEntries.back().key.outline = {};
  mOutlines.insert(mOutlines.end(), key.outline.begin(), key.outline.begin() + outlineLength);
}

void TGlyphRunCache::AddRows(std::span<const TCoverageRow> rows, const uint8_t* coverage) {
  for (const TCoverageRow& row : rows) {
    mRows.push_back({row.x0, row.row, row.count, row.slot});
    mCoverage.insert(mCoverage.end(), coverage + row.offset, coverage + row.offset + row.count);
  }
}

TCachedGlyph TGlyphRunCache::EndGlyph() {
  TEntry& entry = mEntries.back();
  entry.rowCount = mRows.size() - entry.firstRow;
  if (entry.rowCount != 0) {
    sd::TRasterGlyphBox box{INT16_MAX, INT16_MAX, INT16_MIN, INT16_MIN};
    for (size_t i = entry.firstRow; i < mRows.size(); ++i) {
      const sd::TRasterGlyphRow& row = mRows[i];
      box.left = std::min(box.left, row.x0);
      box.right = std::max(box.right, static_cast<int16_t>(row.x0 + row.count));
      box.top = std::min(box.top, row.row);
      box.bottom = std::max(box.bottom, static_cast<int16_t>(row.row + 1));
    }
    entry.box = box;
  }
  mCoverage.insert(mCoverage.end(), sd::kCoverageReadSlack, 0);
  int& head = mHeads[Chain(entry.key)];
  entry.next = head;
  head = static_cast<int>(mEntries.size()) - 1;
  return GlyphOf(entry);
}
