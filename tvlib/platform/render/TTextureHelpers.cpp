// The texture helpers of the software rendering device.
#include "tvlib/platform/render/TTextureHelpers.h"

#include <algorithm>
#include <vector>

#include "tvlib/platform/render/TFaultHook.h"

namespace sd {

namespace {

constexpr int32_t kMaxTextureSide = 2048;

int MipLevels(int32_t w, int32_t h) {
  int n = 1;
  while (w > 1 || h > 1) w = std::max(1, w / 2), h = std::max(1, h / 2), ++n;
  return n;
}

std::vector<uint32_t> ReadArgb(TSurface& s) {
  std::vector<uint32_t> out(size_t(s.Width()) * s.Height());
  for (int32_t y = 0; y < s.Height(); ++y)
    RowToArgb(s.Format(), s.Bits() + size_t(y) * s.Pitch(), out.data() + size_t(y) * s.Width(),
              s.Width(), nullptr);
  return out;
}

void WriteArgb(TSurface& s, const std::vector<uint32_t>& px) {
  for (int32_t y = 0; y < s.Height(); ++y)
    RowFromArgb(s.Format(), px.data() + size_t(y) * s.Width(), s.Bits() + size_t(y) * s.Pitch(),
                s.Width());
  s.NoteWritten(TRect{0, 0, s.Width(), s.Height()});
}

// The next level: each pixel the rounded mean of a 2 x 2 block (edge pixels repeat on odd sides).
std::vector<uint32_t> Halve(const std::vector<uint32_t>& src, int32_t w, int32_t h, int32_t nw,
                            int32_t nh) {
  std::vector<uint32_t> out(size_t(nw) * nh);
  for (int32_t y = 0; y < nh; ++y)
    for (int32_t x = 0; x < nw; ++x) {
      int32_t x0 = std::min(2 * x, w - 1), x1 = std::min(2 * x + 1, w - 1);
      int32_t y0 = std::min(2 * y, h - 1), y1 = std::min(2 * y + 1, h - 1);
      uint32_t a = src[size_t(y0) * w + x0], b = src[size_t(y0) * w + x1];
      uint32_t c = src[size_t(y1) * w + x0], d = src[size_t(y1) * w + x1];
      uint32_t r = 0;
      for (int s = 0; s < 32; s += 8)
        r |= ((((a >> s) & 255) + ((b >> s) & 255) + ((c >> s) & 255) + ((d >> s) & 255) + 2) >> 2)
             << s;
      out[size_t(y) * nw + x] = r;
    }
  return out;
}

}  // namespace

bool TexFormatToPixelFormat(uint32_t format, TPixelFormat* out) {
  switch (format) {
    case kSfA8R8G8B8:
      *out = kFmtA8R8G8B8;
      return true;
    case kSfX8R8G8B8:
      *out = kFmtX8R8G8B8;
      return true;
    case kSfR5G6B5:
      *out = kFmtR5G6B5;
      return true;
    case kSfX1R5G5B5:
      *out = kFmtX1R5G5B5;
      return true;
    case kSfA1R5G5B5:
      *out = kFmtA1R5G5B5;
      return true;
    case kSfA4R4G4B4:
      *out = kFmtA4R4G4B4;
      return true;
    default:
      return false;
  }
}

HR CreateTexture(TDisplay& display, uint32_t flags, int32_t* width, int32_t* height,
                 uint32_t* format, TSurfacePtr* out) {
  if (HR hr = CheckFault(TCall::kCreateTexture)) return hr;
  if (!width || !height || !format || !out) return kErrPointer;
  TSurfaceDesc d;
  if (*width < 1 || *height < 1 || *width > kMaxTextureSide || *height > kMaxTextureSide ||
      !TexFormatToPixelFormat(*format, &d.format))
    return kErrInvalidArg;
  d.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
  d.width = *width, d.height = *height;
  d.caps = kCapsTexture;
  if (!(flags & kTexNoMipMap)) {
    d.flags |= kDescMipMapCount;
    d.caps |= kCapsMipMap | kCapsComplex;
    d.mipMapCount = MipLevels(*width, *height);
  }
  return display.CreateSurface(d, out);
}

HR LoadTextureFromMemory(TSurface* texture, int32_t level, const uint32_t* pixels,
                         int32_t pitchBytes, const TRect* dstRect, uint32_t /*filter*/) {
  if (HR hr = CheckFault(TCall::kLoadTextureFromMemory)) return hr;
  if (!texture || !pixels || level < -1) return kErrInvalidArg;
  if (texture->IsLost()) return kErrSurfaceLost;
  TSurface* target = texture;
  for (int32_t i = 0; i < level && target; ++i)
    target = target->GetAttachedSurface(kCapsMipMap).get();
  if (!target) return kErrInvalidArg;
  TRect bounds{0, 0, target->Width(), target->Height()};
  TRect r = dstRect ? *dstRect : bounds;
  if (r.IsEmpty() || Intersect(r, bounds) != r) return kErrInvalidRect;
  if (pitchBytes == 0) pitchBytes = r.Width() * 4;
  if (pitchBytes < r.Width() * 4) return kErrInvalidArg;
  int bpp = BytesPerPixel(target->Format());
  for (int32_t y = 0; y < r.Height(); ++y)
    RowFromArgb(target->Format(),
                reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(pixels) +
                                                  size_t(y) * pitchBytes),
                target->Bits() + size_t(r.top + y) * target->Pitch() + size_t(r.left) * bpp,
                r.Width());
  target->NoteWritten(r);
  if (level != -1) return kOk;
  std::vector<uint32_t> px = ReadArgb(*target);
  int32_t w = target->Width(), h = target->Height();
  for (TSurfacePtr next = target->GetAttachedSurface(kCapsMipMap); next;
       next = next->GetAttachedSurface(kCapsMipMap)) {
    px = Halve(px, w, h, next->Width(), next->Height());
    w = next->Width(), h = next->Height();
    WriteArgb(*next, px);
  }
  return kOk;
}

}  // namespace sd
