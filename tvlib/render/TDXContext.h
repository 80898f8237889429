// The display handler's device context: chooses the 3-D device and refuses displays it cannot
// use, builds the z-buffer and the device on the back buffer of its CDisplay, leaves the flags
// from which the mode logic picks its fallback, and presents frames.
//
// Needs: CDisplay, the software rendering device, the platform's embedded flag and display scale.
// The mouse mutex (recursive, named "TDXContextMouseMutex:%x:%x:%x:%x" after a fresh GUID) is
// held while the device is released or created and while a frame is presented, so the cursor
// thread never draws on a surface being replaced. Main thread only, except what takes the mutex.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "tvlib/core/TPoint.h"
#include "tvlib/core/TString.h"
#include "tvlib/platform/render/TDevice3d.h"
#include "tvlib/render/CDisplay.h"

class TDXContext {
 public:
  explicit TDXContext(sd::TPresenter* presenter);
  virtual ~TDXContext();
  TDXContext(const TDXContext&) = delete;
  TDXContext& operator=(const TDXContext&) = delete;

  // flags bit 2: keep the window style (embedded). Every refusal leaves no device.
  bool Create(bool fullScreen, int width, int height, int bitsPerPixel, int flags);
  void ReleaseDevice();
  // Clears the whole viewport (colour 0, depth 1).
  sd::HR Clear(uint32_t flags);
  sd::HR PresentRect(const sd::TRect& dest, const sd::TRect& source);
  bool IsFrontBufferReady() const;
  TPoint GetClientOrigin() { return display.GetClientOrigin(); }
  // Reads the desktop's size and colour count (-1 for desktops deeper than 8 bits).
  void ReadDesktop();

  // Full screen: the primary copied onto the back buffer so drawing can be incremental.
  bool PrepareBackBuffer();
  sd::HR Present();

  sd::TDisplay* GetDirectDraw() const { return display.GetDirectDraw(); }
  const sd::TSurfacePtr& GetBackBuffer() const { return display.GetBackBuffer(); }
  const sd::TSurfacePtr& GetPrimary() const { return display.GetPrimary(); }
  const TString& GetMutexName() const { return mMutexName; }

  // Two upper-case hexadecimal digits per byte; empty for a count of 0 or less.
  static TString HexDump(const void* bytes, int count);

  // Called on every out-of-video-memory result of the device code.
  std::function<void()> onOutOfVideoMemory;
  // Called when a frame-side device failure means the device must be restored.
  std::function<void()> onDeviceBroken;

  TString info;
  CDisplay display;
  sd::TDevicePtr device;
  sd::TDeviceDesc deviceDesc;
  sd::TSurfaceDesc displayMode;
  sd::TPixelFormat zFormat;
  bool hardware = false;
  bool palettised = false;
  bool forceFullScreen = false;
  bool backInVideoMemory = false;
  bool srcColourKeyBlt = true;
  bool noRenderTarget16 = false;
  int desktopColours = -1;
  int desktopWidth = 0;
  int desktopHeight = 0;
  uint32_t colourKey = 0;
  std::recursive_timed_mutex mouseMutex;

 private:
  void OutOfVideoMemory();
  bool CreateDeviceOnBackBuffer(bool embedded);

  TString mMutexName;
};
