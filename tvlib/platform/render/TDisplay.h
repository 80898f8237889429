// The display object of the software rendering device: cooperative level, display modes, surface
// and palette creation, the primary surface with its back buffer, video memory, capabilities,
// identifier, texture and depth format enumeration, and creation of the 3-D device.
//
// Needs: a TPresenter, which shows the primary surface. Full screen (exclusive level and a mode
// set) makes the primary the mode's size, A8R8G8B8, with a flip chain; windowed, the primary is the
// desktop (X8R8G8B8) and the window shows the part under its client area. Writes to the primary
// made on the thread that created the display are shown at once; others wait for ShowPending.
// Only 32-bit display modes exist. Surfaces count against a video-memory budget (256 MB unless a
// test sets another), so the engine's out-of-video-memory paths can be reached.
#pragma once

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "tvlib/platform/render/SdDefs.h"
#include "tvlib/platform/render/TDevice3d.h"
#include "tvlib/platform/render/TDeviceTypes.h"
#include "tvlib/platform/render/TPresenter.h"
#include "tvlib/platform/render/TSurface.h"

namespace sd {

struct TDisplayCaps {
  uint32_t colorKeyCaps = 0;  // kColorKeyCapsSrcBlt: blits honour a source colour key
  uint32_t vidMemTotal = 0, vidMemFree = 0;
};

class TDisplay : public std::enable_shared_from_this<TDisplay> {
 public:
  // The presenter must outlive the display.
  static std::shared_ptr<TDisplay> Create(TPresenter* presenter, HR* result);
  ~TDisplay();

  // kCoopNormal (windowed) or kCoopExclusive | kCoopFullScreen. Regains a level taken away
  // (LoseSurfaces); leaving full screen restores the desktop mode.
  HR SetCooperativeLevel(uint32_t flags);
  // kOk while the surfaces can be used, else the reason they were lost.
  HR TestCooperativeLevel() const;
  // Restores every lost surface (their pixels cleared); kOk.
  HR RestoreAllSurfaces();

  // The 32-bit modes, smallest first, until the callback returns false.
  HR EnumDisplayModes(const std::function<bool(const TDisplayMode&)>& each) const;
  // Needs the exclusive full-screen level (kErrNoExclusiveMode); a mode not enumerated gives
  // kErrUnsupportedMode. Every existing surface is lost.
  HR SetDisplayMode(int32_t width, int32_t height, uint32_t bitCount);
  HR RestoreDisplayMode();
  // The current mode: width, height and pixel format.
  HR GetDisplayMode(TSurfaceDesc* out) const;

  // Creates a surface as described (see the file comment for the primary). Pixel format: the one
  // given, else the display's. Memory: the caps' kCapsVideoMemory or kCapsSystemMemory, else video
  // memory when it fits and system memory otherwise. kErrOutOfVideoMemory when video memory was
  // asked for and is exhausted; kErrInvalidArg for an impossible description.
  HR CreateSurface(const TSurfaceDesc& desc, TSurfacePtr* out);
  // An 8-bit palette of 256 entries (kPaletteCaps8BitAllow256).
  HR CreatePalette(uint32_t caps, const uint32_t* entries, std::shared_ptr<TPalette>* out);

  HR GetCaps(TDisplayCaps* out) const;
  // Video memory in bytes for surfaces of these caps.
  HR GetAvailableVidMem(uint32_t caps, uint32_t* total, uint32_t* free) const;
  HR GetDeviceIdentifier(TDeviceIdentifier* out, uint32_t flags = 0) const;
  // The one 3-D device kind.
  HR EnumDevices(const std::function<bool(const TDeviceDesc&)>& each) const;
  // Texture formats: A8R8G8B8, X8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4.
  HR EnumTextureFormats(const std::function<bool(const TPixelFormat&)>& each) const;
  // Depth formats: 16, 24 and 32 bits.
  HR EnumZBufferFormats(const std::function<bool(const TPixelFormat&)>& each) const;
  // A 3-D device drawing into target (see TDevice3d::Create).
  HR CreateDevice(TSurfacePtr target, TDevicePtr* out);

  // Shows what other threads wrote to the primary since it was last shown. Main thread only.
  void ShowPending();

  // Tests: every live surface becomes lost and TestCooperativeLevel answers `reason`
  // (kErrNoExclusiveMode, kErrWrongMode, ...) until the level is set again.
  void LoseSurfaces(HR reason);
  // Tests: the video-memory budget in bytes.
  void SetVideoMemory(int64_t total);

 private:
  TDisplay() = default;
  TSurfacePtr MakeSurface(const TSurfaceDesc& desc, HR* result);
  void Show(TSurface& primary);
  bool IsFullScreen() const { return (mCoop & kCoopExclusive) && mMode.width > 0; }

  TPresenter* mPresenter = nullptr;
  std::shared_ptr<TVideoMemory> mVidMem = std::make_shared<TVideoMemory>();
  std::thread::id mMainThread;
  uint32_t mCoop = 0;
  HR mLostReason = kOk;
  TDisplayMode mMode;  // width 0: the desktop mode
  std::vector<std::weak_ptr<TSurface>> mSurfaces;
  std::weak_ptr<TSurface> mPrimary;
};

using TDisplayPtr = std::shared_ptr<TDisplay>;

}  // namespace sd
