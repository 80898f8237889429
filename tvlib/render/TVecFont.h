// A vector font parsed from an ".mvec" image (magic "MVC4"): glyph records with ink extents,
// advance and an outline program per character code, plus the line metrics derived from them.
//
// Needs only the image bytes; the font owns them. Everything is checked at load: a bad magic,
// count, record, code order or outline program leaves an empty font (no glyphs, zero
// metrics), so a glyph's program pointer is always safe to run to its end opcode.
// Outline units are 1/128; y grows downward with the baseline at 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tvlib/render/TGlyphRunCache.h"

class TVecFont {
 public:
  TVecFont() = default;
  TVecFont(const TVecFont&) = delete;
  TVecFont& operator=(const TVecFont&) = delete;

  // Takes the image and parses it; false (and an empty font) when it is refused.
  bool Load(std::vector<uint8_t> image);

  int GetGlyphCount() const { return static_cast<int>(mCodes.size()); }
  // The glyph index of a character code, or -1.
  int FindGlyph(uint32_t code) const;
  // The glyph's outline program, or null outside 0..count-1.
  const uint8_t* GetGlyphData(int glyph) const;
  // The same measured, hashed, cut into points and given its identity (at load) for the
  // rasteriser; empty outside the range.
  TOutlineRef GetGlyphOutline(int glyph) const;
  // Advance and ink extents in outline units; 0.0 outside the range.
  float GetGlyphAdvance(int glyph) const;
  float GetGlyphLeft(int glyph) const;
  float GetGlyphRight(int glyph) const;
  // The factor that shrinks a glyph too tall for the line; 1.0 outside the range.
  float GetGlyphScale(int glyph) const;

  float GetAscent() const { return mAscent; }
  float GetDescent() const { return mDescent; }
  uint8_t GetFlag() const { return mFlag; }
  float GetScale() const { return mScale; }
  // The share of a line the glyph body fills (the rest is padding above and below).
  static float GetBodyFraction();
  float GetLinePadding(bool above) const;

  // The byte length of an outline program starting at data, or 0 when it runs past size
  // or holds an opcode other than 1-8.
  static size_t MeasureProgram(const uint8_t* data, size_t size);

 private:
  enum TRecordField {
    kCode = 0,
    kLeft = 4,
    kRight = 6,
    kTop = 8,
    kBottom = 10,
    kAdvance = 12,
    kOffset = 14
  };
  bool Parse();
  void Clear();
  int16_t RecordS16(int glyph, TRecordField field) const;
  float RecordUnits(int glyph, TRecordField field) const;
  void DeriveMetrics();

  std::vector<uint8_t> mImage;
  std::vector<uint32_t> mCodes;
  std::vector<float> mFitScales;
  std::vector<TOutlineRef> mOutlines;
  std::vector<TVecGlyphPoints> mPoints;
  float mAscent = 0;
  float mDescent = 0;
  uint8_t mFlag = 0;
  float mScale = 1.0f;
};
