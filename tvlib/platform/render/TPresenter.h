// The presenter: where the display object's primary surface becomes visible.
//
// Backends: headless/THeadlessPresenter (the frame kept in memory, for tests and runs without a
// display) and sdl/TSdlPresenter (shows frames in the program's SDL window, windowed or on the
// full-screen desktop at the game's logical size). The presenter follows the window backend: the
// SDL window gets the SDL presenter, the headless window the headless one. Every call is made on
// the main thread (the thread that created the display object); the cursor thread only writes
// pixels and marks them dirty, and the main thread shows them later (TDisplay::ShowPending).
#pragma once

#include <cstdint>

#include "tvlib/platform/render/TSurface.h"

namespace sd {

struct TDisplayMode {
  int32_t width = 0, height = 0;
  uint32_t bitCount = 32;
};

class TPresenter {
 public:
  virtual ~TPresenter() = default;

  // The desktop: its size and colour depth in bits.
  virtual TDisplayMode Desktop() const = 0;
  // Shows the game full screen with a logical size of width x height (scaled to the screen);
  // false when that cannot be done.
  virtual bool EnterFullScreen(int32_t width, int32_t height) = 0;
  // Back to the window.
  virtual void LeaveFullScreen() = 0;
  virtual bool IsFullScreen() const = 0;
  // Where the window's client area lies on the desktop, in desktop pixels.
  virtual TRect ClientRect() const = 0;
  // Places the window's client area on the desktop (a windowed mode set sizes and centres it).
  virtual void PlaceClient(const TRect& client) = 0;
  // Shows an image: full screen, the whole screen image (width x height, the logical size);
  // windowed, the desktop image whose part under ClientRect is the window. Only `changed`
  // (image coordinates) differs from what was shown before. Where the window really has
  // another size than that part, the part is scaled to fit it, its aspect kept.
  virtual void Show(const uint32_t* pixels, int32_t pitchPixels, int32_t width, int32_t height,
                    const TRect& changed) = 0;
  // Turns a point of the desktop (the system pointer) into the image point shown there, as
  // the last Show placed the image. Any thread. Unscaled presenters leave it as it is.
  virtual void DesktopToImage(int32_t* /*x*/, int32_t* /*y*/) const {}
};

}  // namespace sd
