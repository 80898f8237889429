// Surfaces of the software rendering device.
#include "tvlib/platform/render/TSurface.h"

#include <algorithm>
#include <cstring>

#include "tvlib/platform/render/TFaultHook.h"

namespace sd {

namespace {
// Larger surfaces are refused: twice the device's maximum texture size covers every screen.
constexpr int32_t kMaxSide = 16384;
// No one surface takes more memory than this (a 4096 x 4096 ARGB image is 64 MB).
constexpr int64_t kMaxBytes = 256ll << 20;
}  // namespace

TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) return TRect{};
  return r;
}

TRect Union(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return TRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

TPalette::TPalette(const uint32_t* entries) {
  if (entries)
    std::memcpy(mEntries, entries, sizeof mEntries);
  else
    std::memset(mEntries, 0, sizeof mEntries);
}

bool TPalette::GetEntries(int start, int count, uint32_t* out) const {
  if (start < 0 || count < 0 || start + count > 256 || (!out && count)) return false;
  std::memcpy(out, mEntries + start, size_t(count) * 4);
  return true;
}

bool TPalette::SetEntries(int start, int count, const uint32_t* in) {
  if (start < 0 || count < 0 || start + count > 256 || (!in && count)) return false;
  std::memcpy(mEntries + start, in, size_t(count) * 4);
  return true;
}

std::shared_ptr<TSurface> TSurface::Make(const TSurfaceDesc& desc,
                                         std::shared_ptr<TVideoMemory> vidMem, HR* result) {
  auto fail = [&](HR hr) {
    if (result) *result = hr;
    return std::shared_ptr<TSurface>();
  };
  if (desc.width <= 0 || desc.height <= 0 || desc.width > kMaxSide || desc.height > kMaxSide ||
      !IsStorable(desc.format))
    return fail(kErrInvalidArg);
  std::shared_ptr<TSurface> s(new TSurface());
  s->mDesc = desc;
  int bpp = BytesPerPixel(desc.format);
  // Rows padded to 16 bytes, so SIMD spans of the rasteriser never straddle two rows' storage.
  s->mDesc.pitch = (desc.width * bpp + 15) & ~15;
  s->mDesc.flags |= kDescWidth | kDescHeight | kDescPitch | kDescPixelFormat | kDescCaps;
  int64_t bytes = int64_t(s->mDesc.pitch) * desc.height;
  if (bytes > kMaxBytes) return fail(kErrOutOfMemory);
  if (desc.caps & kCapsVideoMemory) {
    if (!vidMem || vidMem->total - vidMem->used < bytes) return fail(kErrOutOfVideoMemory);
    vidMem->used += bytes;
    s->mVidBytes = bytes;
    s->mVidMem = std::move(vidMem);
  }
  s->mBits.assign(size_t(bytes), 0);
  if (desc.mipMapCount > 1 && (desc.width > 1 || desc.height > 1)) {
    TSurfaceDesc next = desc;
    next.width = std::max(1, desc.width / 2);
    next.height = std::max(1, desc.height / 2);
    next.mipMapCount = desc.mipMapCount - 1;
    HR hr = kOk;
    s->mNextMip = Make(next, s->mVidMem, &hr);
    if (!s->mNextMip) return fail(hr);
  } else {
    s->mDesc.mipMapCount = std::min(desc.mipMapCount, 1);
  }
  if (result) *result = kOk;
  return s;
}

TSurface::~TSurface() {
  if (mVidMem) mVidMem->used -= mVidBytes;
}

HR TSurface::Lock(const TRect* rect, TLocked* out, uint32_t /*flags*/) {
  if (HR hr = CheckFault(TCall::kLock)) return hr;
  if (!out) return kErrInvalidArg;
  if (mLost) return kErrSurfaceLost;
  if (mLocked) return kErrSurfaceBusy;
  TRect r{0, 0, mDesc.width, mDesc.height};
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->right > mDesc.width ||
        rect->bottom > mDesc.height || rect->IsEmpty())
      return kErrInvalidRect;
    r = *rect;
  }
  mLocked = true;
  mUniform = false;
  out->bits = mBits.data() + size_t(r.top) * mDesc.pitch + size_t(r.left) * BytesPerPixel(Format());
  out->pitch = mDesc.pitch;
  return kOk;
}

HR TSurface::Unlock() {
  if (HR hr = CheckFault(TCall::kUnlock)) return hr;
  if (!mLocked) return kErrNotLocked;
  mLocked = false;
  Changed(TRect{0, 0, mDesc.width, mDesc.height});
  return kOk;
}

void TSurface::Fill(const TRect& rect, uint32_t raw) {
  const int bpp = BytesPerPixel(Format());
  if (bpp < 4) raw &= (1u << (8 * bpp)) - 1;
  if (mUniform && mUniformRaw == raw) return;
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    uint8_t* row = mBits.data() + size_t(y) * mDesc.pitch + size_t(rect.left) * bpp;
    if (bpp == 4) {
      std::fill_n(reinterpret_cast<uint32_t*>(row), rect.Width(), raw);
    } else if (bpp == 2 && reinterpret_cast<uintptr_t>(row) % 2 == 0) {
      std::fill_n(reinterpret_cast<uint16_t*>(row), rect.Width(), uint16_t(raw));
    } else if (bpp == 1) {
      std::memset(row, int(raw), size_t(rect.Width()));
    } else {
      for (int32_t x = 0; x < rect.Width(); ++x) WriteRaw(row + x * bpp, bpp, raw);
    }
  }
  Changed(rect);
  mUniform =
      rect.left <= 0 && rect.top <= 0 && rect.right >= mDesc.width && rect.bottom >= mDesc.height;
  mUniformRaw = raw;
}

HR TSurface::Blt(const TRect* dstRect, TSurface* src, const TRect* srcRect, uint32_t flags,
                 uint32_t fillColor) {
  if (HR hr = CheckFault(TCall::kBlt)) return hr;
  if (mLost) return kErrSurfaceLost;
  if (mLocked) return kErrSurfaceBusy;
  TRect bounds{0, 0, mDesc.width, mDesc.height};
  TRect dst = dstRect ? *dstRect : bounds;
  if (flags & kBltColorFill) {
    TRect r = Intersect(dst, bounds);
    if (!r.IsEmpty()) Fill(r, fillColor);
    return kOk;
  }
  if (!src) return kErrInvalidArg;
  if (src->mLost) return kErrSurfaceLost;
  if (src->mLocked) return kErrSurfaceBusy;
  TRect sb{0, 0, src->mDesc.width, src->mDesc.height};
  TRect s = srcRect ? *srcRect : sb;
  if (s.IsEmpty() || Intersect(s, sb) != s) return kErrInvalidRect;
  if (dst.IsEmpty()) return kOk;
  return CopyFrom(dst, *src, s, (flags & kBltKeySrc) && src->mHasKey);
}

HR TSurface::BltFast(int32_t x, int32_t y, TSurface* src, const TRect* srcRect, uint32_t flags) {
  if (HR hr = CheckFault(TCall::kBltFast)) return hr;
  if (mLost) return kErrSurfaceLost;
  if (mLocked) return kErrSurfaceBusy;
  if (!src) return kErrInvalidArg;
  if (src->mLost) return kErrSurfaceLost;
  if (src->mLocked) return kErrSurfaceBusy;
  TRect sb{0, 0, src->mDesc.width, src->mDesc.height};
  TRect s = srcRect ? Intersect(*srcRect, sb) : sb;
  if (s.IsEmpty()) return kOk;
  TRect dst{x, y, x + s.Width(), y + s.Height()};
  return CopyFrom(dst, *src, s, (flags & kBltFastSrcColorKey) && src->mHasKey);
}

// Copies srcFull onto dstFull (stretched when the sizes differ), clipped to this surface. Source
// pixel x of destination column d is srcFull.left + (2d + 1) * srcWidth / (2 * dstWidth): the
// source pixel under the destination pixel's centre, the same before and after clipping.
HR TSurface::CopyFrom(const TRect& dstFull, TSurface& src, const TRect& srcFull, bool key) {
  TRect clip = Intersect(dstFull, TRect{0, 0, mDesc.width, mDesc.height});
  if (clip.IsEmpty()) return kOk;
  const TPixelFormat& sf = src.Format();
  const TPixelFormat& df = Format();
  bool same = sf == df;
  if (IsPalettised(df) && !same) return kErrInvalidArg;
  int sbpp = BytesPerPixel(sf), dbpp = BytesPerPixel(df);
  int64_t dw = dstFull.Width(), dh = dstFull.Height();
  int64_t sw = srcFull.Width(), sh = srcFull.Height();
  bool unscaled = dw == sw && dh == sh;

  // A copy within one surface reads from a snapshot, so overlapping rectangles stay correct.
  std::vector<uint8_t> snapshot;
  const uint8_t* sbits = src.mBits.data();
  if (&src == this) {
    snapshot = mBits;
    sbits = snapshot.data();
  }
  const uint32_t* palette = src.mPalette ? src.mPalette->Entries() : nullptr;
  for (int32_t y = clip.top; y < clip.bottom; ++y) {
    int64_t sy = srcFull.top +
                 (unscaled ? (y - dstFull.top) : ((2 * (y - dstFull.top) + 1) * sh) / (2 * dh));
    const uint8_t* srow = sbits + size_t(sy) * src.mDesc.pitch;
    uint8_t* drow = mBits.data() + size_t(y) * mDesc.pitch;
    if (unscaled && same && !key) {
      int64_t sx = srcFull.left + (clip.left - dstFull.left);
      std::memmove(drow + size_t(clip.left) * dbpp, srow + size_t(sx) * sbpp,
                   size_t(clip.Width()) * dbpp);
      continue;
    }
    for (int32_t x = clip.left; x < clip.right; ++x) {
      int64_t sx = srcFull.left +
                   (unscaled ? (x - dstFull.left) : ((2 * (x - dstFull.left) + 1) * sw) / (2 * dw));
      uint32_t raw = ReadRaw(srow + sx * sbpp, sbpp);
      if (key && raw >= src.mKey.low && raw <= src.mKey.high) continue;
      if (!same) {
        uint32_t argb =
            IsPalettised(sf) ? (palette ? palette[raw & 0xFF] : 0xFF000000u) : RawToArgb(sf, raw);
        raw = ArgbToRaw(df, argb);
      }
      WriteRaw(drow + size_t(x) * dbpp, dbpp, raw);
    }
  }
  Changed(clip);
  return kOk;
}

HR TSurface::Flip() {
  if (HR hr = CheckFault(TCall::kFlip)) return hr;
  if (!mBackBuffer) return kErrInvalidArg;
  if (mLost || mBackBuffer->mLost) return kErrSurfaceLost;
  if (mLocked || mBackBuffer->mLocked) return kErrSurfaceBusy;
  mBits.swap(mBackBuffer->mBits);
  mBackBuffer->mArgbValid = false;
  std::swap(mUniform, mBackBuffer->mUniform);
  std::swap(mUniformRaw, mBackBuffer->mUniformRaw);
  Changed(TRect{0, 0, mDesc.width, mDesc.height});
  return kOk;
}

HR TSurface::GetFlipStatus(uint32_t /*flags*/) {
  return CheckFault(TCall::kGetFlipStatus);
}

HR TSurface::SetColorKey(uint32_t flags, const TColorKey* key) {
  if (HR hr = CheckFault(TCall::kSetColorKey)) return hr;
  if (!(flags & kColorKeySrcBlt)) return kErrInvalidArg;
  if (mLost) return kErrSurfaceLost;
  mHasKey = key != nullptr;
  if (key) mKey = *key;
  return kOk;
}

bool TSurface::GetColorKey(TColorKey* out) const {
  if (mHasKey && out) *out = mKey;
  return mHasKey;
}

HR TSurface::SetPalette(std::shared_ptr<TPalette> palette) {
  if (HR hr = CheckFault(TCall::kSetPalette)) return hr;
  if (palette && !IsPalettised(Format())) return kErrInvalidArg;
  mPalette = std::move(palette);
  mArgbValid = false;
  return kOk;
}

HR TSurface::AddAttachedSurface(std::shared_ptr<TSurface> z) {
  if (HR hr = CheckFault(TCall::kAddAttachedSurface)) return hr;
  if (!z || !(z->mDesc.caps & kCapsZBuffer) || z->Width() != Width() || z->Height() != Height())
    return kErrInvalidArg;
  mZ = std::move(z);
  return kOk;
}

HR TSurface::DeleteAttachedSurface(const TSurface* z) {
  if (!mZ || (z && z != mZ.get())) return kErrInvalidArg;
  mZ.reset();
  return kOk;
}

std::shared_ptr<TSurface> TSurface::GetAttachedSurface(uint32_t caps) const {
  if (caps & kCapsBackBuffer) return mBackBuffer;
  if (caps & kCapsZBuffer) return mZ;
  if (caps & kCapsMipMap) return mNextMip;
  return nullptr;
}

HR TSurface::Restore() {
  if (HR hr = CheckFault(TCall::kRestore)) return hr;
  if (mLost) {
    std::fill(mBits.begin(), mBits.end(), 0);
    mLost = false;
    Changed(TRect{0, 0, mDesc.width, mDesc.height});
  }
  if (mNextMip) mNextMip->Restore();
  return kOk;
}

void TSurface::MarkLost() {
  mLost = true;
  if (mNextMip) mNextMip->MarkLost();
}

const uint32_t* TSurface::SampleArgb(int32_t* pitchPixels) {
  if (IsArgb32(Format())) {
    *pitchPixels = mDesc.pitch / 4;
    return reinterpret_cast<const uint32_t*>(mBits.data());
  }
  if (!mArgbValid) {
    mArgb.resize(size_t(mDesc.width) * mDesc.height);
    const uint32_t* pal = mPalette ? mPalette->Entries() : nullptr;
    for (int32_t y = 0; y < mDesc.height; ++y)
      RowToArgb(Format(), mBits.data() + size_t(y) * mDesc.pitch,
                mArgb.data() + size_t(y) * mDesc.width, mDesc.width, pal);
    mArgbValid = true;
  }
  *pitchPixels = mDesc.width;
  return mArgb.data();
}

void TSurface::NoteWritten(const TRect& rect) {
  Changed(rect);
}

void TSurface::Changed(const TRect& rect) {
  mArgbValid = false;
  mUniform = false;
  bool show = false;
  {
    std::lock_guard<std::mutex> lock(mDirtyMutex);
    mDirty = Union(mDirty, rect);
    show = mShowHook && std::this_thread::get_id() == mShowThread;
  }
  if (show) mShowHook(*this);
}

TRect TSurface::TakeDirty() {
  std::lock_guard<std::mutex> lock(mDirtyMutex);
  TRect r = mDirty;
  mDirty = TRect{};
  return r;
}

void TSurface::SetShowHook(std::function<void(TSurface&)> hook, std::thread::id showThread) {
  std::lock_guard<std::mutex> lock(mDirtyMutex);
  mShowHook = std::move(hook);
  mShowThread = showThread;
}

}  // namespace sd
