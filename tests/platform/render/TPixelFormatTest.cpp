// Pixel formats: widening and narrowing conversions, palettes and storable formats.
#include "tvlib/platform/render/TPixelFormat.h"

#include <gtest/gtest.h>

namespace sd {
namespace {

TEST(PixelFormat, ConversionsWidenByReplicationAndNarrowByTruncation) {
  struct Case {
    TPixelFormat format;
    uint32_t argb, raw, back;  // back: the ARGB that raw reads as
  };
  const Case cases[] = {
      {kFmtA8R8G8B8, 0x80FF4020, 0x80FF4020, 0x80FF4020},
      {kFmtX8R8G8B8, 0x80FF4020, 0x00FF4020, 0xFFFF4020},
      {kFmtR8G8B8, 0x80FF4020, 0xFF4020, 0xFFFF4020},
      {kFmtR5G6B5, 0xFFFFFFFF, 0xFFFF, 0xFFFFFFFF},
      {kFmtR5G6B5, 0xFF0000FF, 0x001F, 0xFF0000FF},
      {kFmtR5G6B5, 0xFF84C2A1, 0x8614, 0xFF84C3A5},
      {kFmtX1R5G5B5, 0x00FF0000, 0x7C00, 0xFFFF0000},
      {kFmtA1R5G5B5, 0x80FF0000, 0xFC00, 0xFFFF0000},
      {kFmtA1R5G5B5, 0x7FFF0000, 0x7C00, 0x00FF0000},
      {kFmtA4R4G4B4, 0x8844CCFF, 0x84CF, 0x8844CCFF},
      {kFmtA4R4G4B4, 0x1F2F3F4F, 0x1234, 0x11223344},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgbToRaw(c.format, c.argb), c.raw) << std::hex << c.argb;
    EXPECT_EQ(RawToArgb(c.format, c.raw), c.back) << std::hex << c.raw;
  }
}

TEST(PixelFormat, RowsConvertThroughThePalette) {
  TPaletteEntries palette = {};
  palette[0] = 0x00000000, palette[7] = 0xFF112233, palette[255] = 0x80FFFFFF;
  const uint8_t indices[3] = {7, 255, 0};
  uint32_t out[3];
  RowToArgb(kFmtP8, indices, out, 3, palette);
  EXPECT_EQ(out[0], 0xFF112233u);
  EXPECT_EQ(out[1], 0x80FFFFFFu);
  EXPECT_EQ(out[2], 0u);
  // 24-bit rows are three bytes a pixel, blue first.
  const uint32_t argb[2] = {0xFF010203, 0xFFA0B0C0};
  uint8_t packed[6];
  RowFromArgb(kFmtR8G8B8, argb, packed, 2);
  const uint8_t want[6] = {3, 2, 1, 0xC0, 0xB0, 0xA0};
  EXPECT_EQ(0, memcmp(packed, want, 6));
}

TEST(PixelFormat, StorableFormats) {
  for (const TPixelFormat& f : {kFmtA8R8G8B8, kFmtX8R8G8B8, kFmtR8G8B8, kFmtR5G6B5, kFmtX1R5G5B5,
                                kFmtA1R5G5B5, kFmtA4R4G4B4, kFmtP8, kFmtZ16, kFmtZ24, kFmtZ32})
    EXPECT_TRUE(IsStorable(f));
  EXPECT_FALSE(IsStorable(TPixelFormat{kPfRgb, 12, 0xF00, 0xF0, 0xF, 0}));
  EXPECT_FALSE(IsStorable(TPixelFormat{kPfRgb, 16, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace sd
