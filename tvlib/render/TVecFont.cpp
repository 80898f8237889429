// Parsing and metrics of ".mvec" vector fonts; see TVecFont.h.
#include "tvlib/render/TVecFont.h"

#include <algorithm>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TVecOutline.h"

namespace {
constexpr size_t kHeaderSize = 12;
constexpr size_t kRecordSize = 18;
constexpr float kPaddingAbove = 0.15f;
constexpr float kPaddingBelow = 0.05f;
constexpr uint32_t kCodeW = 87;
constexpr uint32_t kCodeUnderscore = 95;
}  // namespace

bool TVecFont::Load(std::vector<uint8_t> image) {
  mImage = std::move(image);
  Clear();
  if (Parse()) {
    DeriveMetrics();
    mOutlines.resize(mCodes.size());
    mPoints.resize(mCodes.size());
    const uint64_t firstIdentity = TOutlineRef::NewIdentities(mCodes.size());
    for (size_t i = 0; i < mCodes.size(); ++i) {
      const uint8_t* program = GetGlyphData(static_cast<int>(i));
      mPoints[i] = TVecGlyphPoints::Of(program);
      mOutlines[i] = TOutlineRef::Of(program);
      mOutlines[i].points = &mPoints[i];
      mOutlines[i].identity = firstIdentity + i;
    }
    return true;
  }
  Clear();
  mImage.clear();
  return false;
}

void TVecFont::Clear() {
  mCodes.clear();
  mFitScales.clear();
  mOutlines.clear();
  mPoints.clear();
  mAscent = mDescent = 0;
  mFlag = 0;
  mScale = 1.0f;
}

bool TVecFont::Parse() {
  const size_t size = mImage.size();
  if (size < kHeaderSize || std::memcmp(mImage.data(), "MVC4", 4) != 0) {
    DebugLog("TVecFont::Load: not an MVC4 image (%zu bytes)", size);
    return false;
  }
  const size_t count = ReadU16(&mImage[4]);
  const size_t programs = kHeaderSize + kRecordSize * count;
  if (programs > size) {
    DebugLog("TVecFont::Load: %zu glyph records do not fit in %zu bytes", count, size);
    return false;
  }
  mCodes.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* record = &mImage[kHeaderSize + kRecordSize * i];
    mCodes[i] = ReadU32(record + kCode);
    // Lookups are binary searches: codes must ascend strictly.
    if (i > 0 && mCodes[i] <= mCodes[i - 1]) {
      DebugLog("TVecFont::Load: glyph %zu is out of code order", i);
      return false;
    }
    const size_t offset = ReadU32(record + kOffset);
    if (offset < programs || offset >= size ||
        MeasureProgram(&mImage[offset], size - offset) == 0) {
      DebugLog("TVecFont::Load: glyph %zu has a bad outline program at %zu", i, offset);
      return false;
    }
  }
  return true;
}

size_t TVecFont::MeasureProgram(const uint8_t* data, size_t size) {
  size_t at = 0;
  while (at < size) {
    const int length = VecOpLength(data[at]);
    if (length == 0 || size - at < static_cast<size_t>(length)) return 0;
    if (data[at] == kOpEnd) return at + 1;
    at += length;
  }
  return 0;
}

int16_t TVecFont::RecordS16(int glyph, TRecordField field) const {
  return ReadS16(&mImage[kHeaderSize + kRecordSize * glyph + field]);
}

float TVecFont::RecordUnits(int glyph, TRecordField field) const {
  if (glyph < 0 || glyph >= GetGlyphCount()) return 0.0f;
  return RecordS16(glyph, field) / 128.0f;
}

void TVecFont::DeriveMetrics() {
  const int count = GetGlyphCount();
  // The ascent is the height of "W"; a font without one uses its tallest ASCII ink.
  const int w = FindGlyph(kCodeW);
  float tallest = 0;
  for (int i = 0; i < count && mCodes[i] < 128; ++i) {
    tallest = std::max(tallest, -RecordUnits(i, kTop));
    if (mCodes[i] != kCodeUnderscore) mDescent = std::max(mDescent, RecordUnits(i, kBottom));
  }
  mAscent = w >= 0 ? -RecordUnits(w, kTop) : tallest;

  const float above = mAscent + GetLinePadding(true);
  const float below = mDescent + GetLinePadding(false);
  mFitScales.assign(count, 1.0f);
  for (int i = 0; i < count; ++i) {
    // A line without height above or below cannot be overreached on that side.
    const float f1 = above > 0 ? -RecordUnits(i, kTop) / above : 0.0f;
    const float f2 = below > 0 ? RecordUnits(i, kBottom) / below : 0.0f;
    if (f1 > 1 || f2 > 1) mFitScales[i] = 1.0f / std::max(f1, f2);
  }
}

int TVecFont::FindGlyph(uint32_t code) const {
  int low = 0;
  int high = GetGlyphCount() - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    if (mCodes[middle] == code) return middle;
    if (mCodes[middle] < code) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return -1;
}

const uint8_t* TVecFont::GetGlyphData(int glyph) const {
  if (glyph < 0 || glyph >= GetGlyphCount()) return nullptr;
  return &mImage[ReadU32(&mImage[kHeaderSize + kRecordSize * glyph + kOffset])];
}

TOutlineRef TVecFont::GetGlyphOutline(int glyph) const {
  if (glyph < 0 || glyph >= GetGlyphCount()) return {};
  return mOutlines[glyph];
}

float TVecFont::GetGlyphAdvance(int glyph) const {
  return RecordUnits(glyph, kAdvance);
}
float TVecFont::GetGlyphLeft(int glyph) const {
  return RecordUnits(glyph, kLeft);
}
float TVecFont::GetGlyphRight(int glyph) const {
  return RecordUnits(glyph, kRight);
}

float TVecFont::GetGlyphScale(int glyph) const {
  if (glyph < 0 || glyph >= GetGlyphCount()) return 1.0f;
  return mFitScales[glyph];
}

float TVecFont::GetBodyFraction() {
  return 1.0f - kPaddingAbove - kPaddingBelow;
}

float TVecFont::GetLinePadding(bool above) const {
  return (mAscent + mDescent) * (above ? kPaddingAbove : kPaddingBelow) / GetBodyFraction();
}
