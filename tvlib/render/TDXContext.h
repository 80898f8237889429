// The display handler's device context: chooses the 3-D device and refuses displays it cannot
// use, builds the z-buffer and the device on the back buffer of its CDisplay, leaves the flags
// from which the mode logic picks its fallback, and presents frames.
//
// Needs: CDisplay, the software rendering device, the platform's embedded flag and display scale.
// The software cursor: a colour-keyed image drawn onto the screen with the pixels under it kept
// in one of two alternating save-under surfaces; the cursor thread moves it between frames by
// drawing into the primary and marking it dirty (the main thread shows it), and every present
// draws it into the frame. The mouse mutex (recursive, named "TDXContextMouseMutex:%x:%x:%x:%x"
// after a fresh GUID) is held while the device is released or created and while a frame is
// presented, so the cursor thread never draws on a surface being replaced. Main thread only,
// except what takes the mutex.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "tvlib/core/TPoint.h"
#include "tvlib/core/TString.h"
#include "tvlib/core/TTask.h"
#include "tvlib/platform/render/TDevice3d.h"
#include "tvlib/render/CDisplay.h"

class TTexture;
class TDXContext;
class TRenderHost;

// Re-creates the cursor image once the device is back (a platform restore listener).
class MouseTextureListener : public TTask {
 public:
  explicit MouseTextureListener(TDXContext* context) : mContext(context) {}
  ~MouseTextureListener() override;
  bool Run() override;
  void Unlink() { mContext = nullptr; }

 private:
  TDXContext* mContext;
};

class TDXContext {
 public:
  // host: the program showing the frames (null: alone, a visible active desktop window).
  TDXContext(sd::TPresenter* presenter, TRenderHost* host);
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
  // Draws the cursor into the frame, shows the frame, and leaves the back buffer clean.
  sd::HR Present();

  // x = -1: a poll of the cursor thread. Answers the cursor position (x -1: none).
  TPoint UpdateCursor(int x, int y, bool force);
  bool SetCursorImage(std::shared_ptr<TTexture> texture, int hotX, int hotY);
  void HideCursor();
  void ResetCursor();
  void OnWindowMoved();
  TPoint GetCursorPosition();
  std::shared_ptr<TTexture> GetCursorTexture();
  void RestoreMouseImage();

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

  // Where the system pointer is, in desktop pixels; false when unknown. Any thread.
  std::function<bool(int* x, int* y)> pointerSource;
  TRenderHost* const host;
  MouseTextureListener* listener = nullptr;
  int saveIndex = 0;
  uint32_t lastDrawTime = 0;
  bool drawToBack = false;
  CSurface saveUnder[2];
  CSurface cursorSurface;
  bool cursorDrawn = false;
  bool noSaveUnder = false;
  bool surfacesLost = false;
  TPoint cursorPos{-1, -1};
  TPoint lastDrawnPos{-1, -1};
  TPoint hotOffset{0, 0};
  int cursorWidth = 0, cursorHeight = 0;
  bool positionKnown = false;
  std::shared_ptr<TTexture> cursorTexture;
  std::recursive_timed_mutex mouseMutex;

 private:
  struct TCursorBlit {
    sd::TRect dest, source;
  };
  void ReadCursorPosition();
  void RequestRepaint();
  float Scale() const;
  // The cursor's rectangles at game position `at` inside clip; false when wholly outside.
  bool CursorBlit(TPoint at, const sd::TRect& clip, bool saveUnderSource, TCursorBlit* out) const;
  sd::TRect DrawClip(bool toBack) const;
  sd::TSurface* DrawTarget(bool toBack) const;
  // Puts the saved background back at lastDrawnPos on the current erase target.
  sd::HR EraseCursor();
  void EraseCursorFromBackBuffer();
  bool SurfaceFailed(sd::HR hr);
  void OutOfVideoMemory();
  bool CreateDeviceOnBackBuffer(bool embedded);

  TString mMutexName;
};
