// The screen side of the display device: the display object, the primary surface, the back
// buffer, full-screen creation (exclusive, with a flip chain) and windowed creation (an
// off-screen back buffer copied to the window's part of the desktop), and the present.
//
// Needs: the software rendering device and a presenter (borrowed; it must outlive the display).
// Knows nothing of 3-D, textures or the cursor. Out-of-video-memory results are reported through
// onOutOfVideoMemory before the step is retried or answered. Main thread only.
#pragma once

#include <functional>
#include <memory>

#include "tvlib/core/TPoint.h"
#include "tvlib/platform/render/TDisplay.h"

// A small owner of one surface with its description (the z-buffer, the cursor surfaces).
class CSurface {
 public:
  ~CSurface() { Release(); }
  void Attach(sd::TSurfacePtr surface);
  sd::HR Create(sd::TDisplay& display, const sd::TSurfaceDesc& desc);
  void Release();
  sd::TSurface* Get() const { return mSurface.get(); }
  const sd::TSurfacePtr& Ptr() const { return mSurface; }
  const sd::TSurfaceDesc& Desc() const { return mDesc; }

 private:
  sd::TSurfacePtr mSurface;
  sd::TSurfaceDesc mDesc;
};

class CDisplay {
 public:
  explicit CDisplay(sd::TPresenter* presenter) : mPresenter(presenter) {}
  virtual ~CDisplay() { Release(); }
  CDisplay(const CDisplay&) = delete;
  CDisplay& operator=(const CDisplay&) = delete;

  // Drops the surfaces and the display object, returning the desktop to the normal level.
  virtual sd::HR Release();

  // attempt: device index in the high 16 bits, the caller's flags in the low 16 bits.
  sd::HR CreateFullScreen(int width, int height, int bitsPerPixel, uint32_t attempt);
  sd::HR CreateWindowed(int width, int height, bool backInVideoMemory);
  // The finished frame to the screen: a flip, or a copy to the window's rectangle.
  sd::HR Present();
  // Copies source of the back buffer onto dest of the primary; dest becomes the screen rect.
  sd::HR PresentRect(const sd::TRect& dest, const sd::TRect& source);
  void UpdateBounds();
  TPoint GetClientOrigin();
  void RestoreDisplayMode();
  // A new surface of this size; format null: the display's; caps null: an off-screen plain one.
  sd::HR CreateSurface(std::unique_ptr<CSurface>* out, int width, int height,
                       const sd::TPixelFormat* format, const uint32_t* caps);

  sd::TDisplay* GetDirectDraw() const { return mDisplay.get(); }
  const sd::TSurfacePtr& GetPrimary() const { return mPrimary; }
  const sd::TSurfacePtr& GetBackBuffer() const { return mBack; }
  const sd::TRect& GetScreenRect() const { return mScreenRect; }
  sd::TPresenter* GetPresenter() const { return mPresenter; }
  bool IsWindowed() const { return mWindowed; }
  bool WasCreated() const { return mCreated; }

  std::function<void()> onOutOfVideoMemory;

 private:
  sd::HR RetryFullScreen(sd::HR hr, int width, int height, int bitsPerPixel, uint32_t attempt);
  int ChooseModeDepth(int width, int height, int wanted) const;

  sd::TPresenter* mPresenter;
  sd::TDisplayPtr mDisplay;
  sd::TSurfacePtr mPrimary;
  sd::TSurfacePtr mBack;
  sd::TRect mScreenRect;
  bool mWindowed = false;
  bool mCreated = false;
};
