// Pixel formats of the software rendering device and conversion between them.
//
// A format is described as the engine's code reads it: flags, bits per pixel and the four channel
// masks (for depth formats the first mask is the depth mask). Conversion goes through 32-bit ARGB
// (the layout of A8R8G8B8 read as a little-endian word): narrower channels widen by bit
// replication (31 becomes 255, so white stays white) and narrow by truncation; a format without an
// alpha mask reads as alpha 255. Palette formats read through their palette and cannot be written
// from colours.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tvlib/platform/render/SdDefs.h"

namespace sd {

struct TPixelFormat {
  uint32_t flags = 0;
  uint32_t bitCount = 0;
  uint32_t rMask = 0;  // depth mask for depth formats
  uint32_t gMask = 0;
  uint32_t bMask = 0;
  uint32_t aMask = 0;

  friend bool operator==(const TPixelFormat&, const TPixelFormat&) = default;
};

// The formats the device offers.
inline constexpr TPixelFormat kFmtA8R8G8B8{
    kPfRgb | kPfAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
inline constexpr TPixelFormat kFmtX8R8G8B8{kPfRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0};
inline constexpr TPixelFormat kFmtR8G8B8{kPfRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0};
inline constexpr TPixelFormat kFmtR5G6B5{kPfRgb, 16, 0xF800, 0x07E0, 0x001F, 0};
inline constexpr TPixelFormat kFmtX1R5G5B5{kPfRgb, 16, 0x7C00, 0x03E0, 0x001F, 0};
inline constexpr TPixelFormat kFmtA1R5G5B5{
    kPfRgb | kPfAlphaPixels, 16, 0x7C00, 0x03E0, 0x001F, 0x8000};
inline constexpr TPixelFormat kFmtA4R4G4B4{
    kPfRgb | kPfAlphaPixels, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
inline constexpr TPixelFormat kFmtP8{kPfRgb | kPfPaletteIndexed8, 8, 0, 0, 0, 0};
inline constexpr TPixelFormat kFmtZ16{kPfZBuffer, 16, 0xFFFF, 0, 0, 0};
inline constexpr TPixelFormat kFmtZ24{kPfZBuffer, 32, 0xFFFFFF, 0, 0, 0};
inline constexpr TPixelFormat kFmtZ32{kPfZBuffer, 32, 0xFFFFFFFF, 0, 0, 0};

// One palette entry per index: blue, green, red, alpha bytes (ARGB read as a little-endian word).
using TPaletteEntries = uint32_t[256];

// Bytes per pixel (1, 2, 3 or 4); 0 for a format the device cannot store.
int BytesPerPixel(const TPixelFormat& f);
// Whether the device can store surfaces of this format.
bool IsStorable(const TPixelFormat& f);
bool IsPalettised(const TPixelFormat& f);
bool IsDepth(const TPixelFormat& f);
// Exactly A8R8G8B8 (the render and sampling format, read without conversion).
bool IsArgb32(const TPixelFormat& f);

// Number of set bits; index of the lowest set bit (0 for 0).
int CountBits(uint32_t v);
int LowestSetBit(uint32_t v);

// One raw pixel value to ARGB and back (not for palette formats).
uint32_t RawToArgb(const TPixelFormat& f, uint32_t raw);
uint32_t ArgbToRaw(const TPixelFormat& f, uint32_t argb);

// Reads and writes one raw pixel of the format's size at p.
uint32_t ReadRaw(const uint8_t* p, int bytes);
void WriteRaw(uint8_t* p, int bytes, uint32_t raw);

// Converts n pixels of a row to ARGB; palette formats need the palette (null reads as black).
void RowToArgb(const TPixelFormat& f, const uint8_t* src, uint32_t* dst, int n,
               const uint32_t* palette);
// Converts n ARGB pixels into a row of the format (palette formats are not written).
void RowFromArgb(const TPixelFormat& f, const uint32_t* src, uint8_t* dst, int n);

}  // namespace sd
