// Surfaces of the software rendering device: pixel storage with the operations the display code,
// the textures and the cursor call (lock, colour fill, clipped and stretched copies with a source
// colour key, palettes, attached back buffer / depth buffer / mip levels, loss and restore).
//
// Needs: TPixelFormat, the fault hook. Limits: surfaces are not locked against concurrent use,
// except their dirty rectangle; callers serialise access to a shared surface (the cursor and the
// frame share the primary under the mouse mutex). Rectangles are left, top, right, bottom with
// right and bottom exclusive. Every copy and fill clips to both surfaces; a lock rectangle must lie
// inside the surface.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tvlib/platform/render/SdDefs.h"
#include "tvlib/platform/render/TPixelFormat.h"

namespace sd {

struct TRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// The intersection of two rectangles (empty when they do not meet).
TRect Intersect(const TRect& a, const TRect& b);
// The smallest rectangle holding both (an empty one adds nothing).
TRect Union(const TRect& a, const TRect& b);

// What a surface is, or what is asked of a new one (flags say which fields are given).
struct TSurfaceDesc {
  uint32_t flags = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;  // bytes per row, reported
  uint32_t backBufferCount = 0;
  uint32_t caps = 0;
  uint32_t caps2 = 0;
  int32_t mipMapCount = 0;  // levels including the top one (0 or 1: no mips)
  TPixelFormat format;
};

struct TLocked {
  uint8_t* bits = nullptr;  // first pixel of the locked rectangle
  int32_t pitch = 0;        // bytes from one row to the next
};

struct TColorKey {
  uint32_t low = 0, high = 0;  // raw source values in [low, high] are not copied
};

// An 8-bit palette: 256 entries of ARGB (blue, green, red, alpha bytes in memory).
class TPalette {
 public:
  explicit TPalette(const uint32_t* entries);
  // Copies count entries from start into out; false for a range outside 0..255.
  bool GetEntries(int start, int count, uint32_t* out) const;
  bool SetEntries(int start, int count, const uint32_t* in);
  const uint32_t* Entries() const { return mEntries; }

 private:
  TPaletteEntries mEntries;
};

// Video memory shared by the surfaces of one display; running out answers kErrOutOfVideoMemory.
struct TVideoMemory {
  int64_t total = 256ll << 20;
  int64_t used = 0;
};

class TSurface {
 public:
  // Surfaces are made by the display object (TDisplay::CreateSurface) or the texture helpers.
  // kErrInvalidArg for a side outside 1..16384 or a format that cannot be stored,
  // kErrOutOfMemory above 256 MB, kErrOutOfVideoMemory when the video-memory budget is spent.
  static std::shared_ptr<TSurface> Make(const TSurfaceDesc& desc,
                                        std::shared_ptr<TVideoMemory> vidMem, HR* result);
  ~TSurface();
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  // ---- Description ----
  const TSurfaceDesc& Desc() const { return mDesc; }
  const TPixelFormat& Format() const { return mDesc.format; }
  int32_t Width() const { return mDesc.width; }
  int32_t Height() const { return mDesc.height; }

  // ---- Pixel access ----
  // Locks the whole surface (rect null) or a rectangle inside it. kErrSurfaceLost on a lost
  // surface, kErrSurfaceBusy when already locked, kErrInvalidRect for a rectangle outside it.
  HR Lock(const TRect* rect, TLocked* out, uint32_t flags = kLockWait);
  // kErrNotLocked when not locked. Ends the lock; the pixels may have changed.
  HR Unlock();

  // ---- Copies ----
  // Blt: copies srcRect of src (whole when null) onto dstRect (whole when null), stretching with
  // nearest pixels, converting between formats through ARGB, skipping source pixels inside the
  // source colour key when flags has kBltKeySrc. With kBltColorFill (src null) fills dstRect with
  // the raw value fillColor. The destination is clipped to this surface and the source adjusted in
  // proportion. A source rectangle outside the source gives kErrInvalidRect.
  HR Blt(const TRect* dstRect, TSurface* src, const TRect* srcRect, uint32_t flags,
         uint32_t fillColor = 0);
  // BltFast: an unscaled copy of srcRect (whole when null) to (x, y), clipped to both surfaces;
  // kBltFastSrcColorKey skips keyed pixels.
  HR BltFast(int32_t x, int32_t y, TSurface* src, const TRect* srcRect, uint32_t flags);

  // ---- Flip chain ----
  // Exchanges the pixels of this primary surface and its attached back buffer and shows them.
  HR Flip();
  // kOk: a flip is never in progress on this device.
  HR GetFlipStatus(uint32_t flags);

  // ---- Colour key, palette, attachments ----
  HR SetColorKey(uint32_t flags, const TColorKey* key);  // null key removes it
  bool GetColorKey(TColorKey* out) const;
  HR SetPalette(std::shared_ptr<TPalette> palette);
  std::shared_ptr<TPalette> GetPalette() const { return mPalette; }
  // Attaches a depth surface (caps kCapsZBuffer) of this surface's size.
  HR AddAttachedSurface(std::shared_ptr<TSurface> z);
  HR DeleteAttachedSurface(const TSurface* z);
  // The attached surface with these caps: kCapsBackBuffer, kCapsZBuffer or kCapsMipMap (the next
  // mip level); null when there is none.
  std::shared_ptr<TSurface> GetAttachedSurface(uint32_t caps) const;

  // ---- Loss ----
  bool IsLost() const { return mLost; }
  // Makes the surface usable again; its pixels are cleared to 0. kOk also when not lost.
  HR Restore();
  // The display marks surfaces lost when the mode changes or exclusive mode is taken away.
  void MarkLost();

  // ---- Device-side access (no fault checks, no loss checks) ----
  uint8_t* Bits() { return mBits.data(); }
  const uint8_t* Bits() const { return mBits.data(); }
  int32_t Pitch() const { return mDesc.pitch; }
  // The pixels as ARGB for sampling, row pitch in pixels: the storage itself for A8R8G8B8,
  // otherwise a converted copy refreshed after every change.
  const uint32_t* SampleArgb(int32_t* pitchPixels);
  // Records that the device wrote the pixels (drawing, clears).
  void NoteWritten(const TRect& rect);
  // Fills rect (inside the surface) with a raw pixel value at memory speed: colour fills and
  // clears. A surface known to hold nothing but that value already is left alone, so a depth
  // buffer that no draw writes is cleared once, not every frame.
  void Fill(const TRect& rect, uint32_t raw);

  // Dirty area of a presented surface, for the main thread's upload. Thread-safe.
  TRect TakeDirty();
  // The display's show callback for its primary: called after a write made on the thread that
  // created the display (other threads only mark the area dirty).
  void SetShowHook(std::function<void(TSurface&)> hook, std::thread::id showThread);

 private:
  TSurface() = default;
  HR CopyFrom(const TRect& dstFull, TSurface& src, const TRect& srcFull, bool key);
  void Changed(const TRect& rect);

  TSurfaceDesc mDesc;
  std::vector<uint8_t> mBits;
  std::shared_ptr<TVideoMemory> mVidMem;
  int64_t mVidBytes = 0;
  bool mLost = false;
  bool mLocked = false;
  bool mHasKey = false;
  TColorKey mKey;
  std::shared_ptr<TPalette> mPalette;
  std::shared_ptr<TSurface> mBackBuffer;
  std::shared_ptr<TSurface> mZ;
  std::shared_ptr<TSurface> mNextMip;
  // Converted copy for sampling formats other than A8R8G8B8.
  std::vector<uint32_t> mArgb;
  bool mArgbValid = false;
  // Whether every pixel holds mUniformRaw: set by a fill of the whole surface, dropped by any
  // other write and by a lock.
  bool mUniform = false;
  uint32_t mUniformRaw = 0;
  // Presentation.
  std::mutex mDirtyMutex;
  TRect mDirty;
  std::function<void(TSurface&)> mShowHook;
  std::thread::id mShowThread;

  friend class TDisplay;
};

using TSurfacePtr = std::shared_ptr<TSurface>;

}  // namespace sd
