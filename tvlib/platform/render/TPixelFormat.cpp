// Pixel formats of the software rendering device and conversion between them.
#include "tvlib/platform/render/TPixelFormat.h"

#include <bit>
#include <cstring>

namespace sd {

int CountBits(uint32_t v) {
  return std::popcount(v);
}
int LowestSetBit(uint32_t v) {
  return v ? std::countr_zero(v) : 0;
}

bool IsPalettised(const TPixelFormat& f) {
  return (f.flags & kPfPaletteIndexed8) != 0;
}
bool IsDepth(const TPixelFormat& f) {
  return (f.flags & kPfZBuffer) != 0;
}
bool IsArgb32(const TPixelFormat& f) {
  return f == kFmtA8R8G8B8;
}

int BytesPerPixel(const TPixelFormat& f) {
  switch (f.bitCount) {
    case 8:
      return IsPalettised(f) ? 1 : 0;
    case 16:
      return 2;
    case 24:
      return IsDepth(f) ? 0 : 3;
    case 32:
      return 4;
    default:
      return 0;
  }
}

bool IsStorable(const TPixelFormat& f) {
  if (BytesPerPixel(f) == 0) return false;
  if (IsPalettised(f) || IsDepth(f)) return true;
  return (f.flags & kPfRgb) && f.rMask && f.gMask && f.bMask;
}

namespace {

// Widens a channel of `bits` bits to 8 by replicating its high bits into the low ones.
uint32_t Widen(uint32_t c, int bits) {
  if (bits >= 8) return c >> (bits - 8);
  if (bits <= 0) return 0;
  uint32_t v = c << (8 - bits);
  for (int have = bits; have < 8; have += bits) v |= v >> bits;
  return v & 0xFF;
}

uint32_t Extract(uint32_t raw, uint32_t mask) {
  if (!mask) return 0;
  return Widen((raw & mask) >> LowestSetBit(mask), CountBits(mask));
}

uint32_t Place(uint32_t c8, uint32_t mask) {
  if (!mask) return 0;
  int bits = CountBits(mask);
  uint32_t c = bits >= 8 ? c8 << (bits - 8) : c8 >> (8 - bits);
  return (c << LowestSetBit(mask)) & mask;
}

}  // namespace

uint32_t RawToArgb(const TPixelFormat& f, uint32_t raw) {
  if (IsArgb32(f)) return raw;
  uint32_t a = f.aMask ? Extract(raw, f.aMask) : 0xFF;
  return (a << 24) | (Extract(raw, f.rMask) << 16) | (Extract(raw, f.gMask) << 8) |
         Extract(raw, f.bMask);
}

uint32_t ArgbToRaw(const TPixelFormat& f, uint32_t argb) {
  if (IsArgb32(f)) return argb;
  return Place(argb >> 24, f.aMask) | Place((argb >> 16) & 0xFF, f.rMask) |
         Place((argb >> 8) & 0xFF, f.gMask) | Place(argb & 0xFF, f.bMask);
}

uint32_t ReadRaw(const uint8_t* p, int bytes) {
  switch (bytes) {
    case 1:
      return p[0];
    case 2:
      return uint32_t(p[0]) | uint32_t(p[1]) << 8;
    case 3:
      return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    default: {
      uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

void WriteRaw(uint8_t* p, int bytes, uint32_t raw) {
  switch (bytes) {
    case 1:
      p[0] = uint8_t(raw);
      break;
    case 2:
      p[0] = uint8_t(raw);
      p[1] = uint8_t(raw >> 8);
      break;
    case 3:
      p[0] = uint8_t(raw);
      p[1] = uint8_t(raw >> 8);
      p[2] = uint8_t(raw >> 16);
      break;
    default:
      std::memcpy(p, &raw, 4);
      break;
  }
}

void RowToArgb(const TPixelFormat& f, const uint8_t* src, uint32_t* dst, int n,
               const uint32_t* palette) {
  if (IsArgb32(f)) {
    std::memcpy(dst, src, size_t(n) * 4);
    return;
  }
  if (IsPalettised(f)) {
    for (int i = 0; i < n; ++i) dst[i] = palette ? palette[src[i]] : 0xFF000000u;
    return;
  }
  int bytes = BytesPerPixel(f);
  for (int i = 0; i < n; ++i) dst[i] = RawToArgb(f, ReadRaw(src + i * bytes, bytes));
}

void RowFromArgb(const TPixelFormat& f, const uint32_t* src, uint8_t* dst, int n) {
  if (IsArgb32(f)) {
    std::memcpy(dst, src, size_t(n) * 4);
    return;
  }
  if (IsPalettised(f)) return;
  int bytes = BytesPerPixel(f);
  for (int i = 0; i < n; ++i) WriteRaw(dst + i * bytes, bytes, ArgbToRaw(f, src[i]));
}

}  // namespace sd
