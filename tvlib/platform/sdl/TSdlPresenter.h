// The SDL2 presenter: shows frames in an SDL window, windowed or full screen.
//
// Needs: SDL2's video subsystem, initialised on the main thread. Every call but DesktopToImage
// must come from the main thread. Frames go through one streaming ARGB texture; each Show
// uploads only the changed rectangle, then renders and presents (no vsync: the game paces
// itself). The image is scaled to the window's real size with its aspect kept (black bars
// fill the rest), so a window manager that gives the window another size than asked never
// crops the game.
//
// Full screen on X depends on the window manager (XWindowManager.h): one that offers it makes
// the window full screen; without any, the window covers the screen itself (borderless, at
// the desktop's size); any other cannot, and EnterFullScreen answers false (the display
// set-up then falls back to a window).
#pragma once

#include <memory>
#include <mutex>

#include "tvlib/platform/render/TPresenter.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace sd {

class TSdlPresenter : public TPresenter {
 public:
  // Shows frames in `window` (borrowed; it must outlive the presenter), showing the window with
  // the first frame. Null when SDL cannot make a renderer for it.
  static std::unique_ptr<TSdlPresenter> Create(SDL_Window* window);
  ~TSdlPresenter() override;

  TDisplayMode Desktop() const override;
  bool EnterFullScreen(int32_t width, int32_t height) override;
  void LeaveFullScreen() override;
  bool IsFullScreen() const override { return mFullScreen; }
  // Windowed, the window's place on the desktop with the size last placed (the part of the
  // desktop image that is the game's), or its real size when nothing was placed.
  TRect ClientRect() const override;
  void PlaceClient(const TRect& client) override;
  void Show(const uint32_t* pixels, int32_t pitchPixels, int32_t width, int32_t height,
            const TRect& changed) override;
  void DesktopToImage(int32_t* x, int32_t* y) const override;

  SDL_Window* Window() const { return mWindow; }
  // Where the image lies in the window's own pixels, as last shown.
  TRect ImageInWindow() const;

 private:
  TSdlPresenter() = default;
  bool EnsureTexture(int32_t width, int32_t height);

  // Where the last Show put which part of the image: `shown` (image pixels) drawn over
  // `target` (window pixels) of the window whose top-left lies at `origin` on the desktop.
  struct TPlacement {
    TRect shown, target;
    int32_t originX = 0, originY = 0;
  };

  SDL_Window* mWindow = nullptr;
  SDL_Renderer* mRenderer = nullptr;
  SDL_Texture* mTexture = nullptr;
  int32_t mTextureWidth = 0, mTextureHeight = 0;
  bool mFullScreen = false;
  bool mCovering = false;  // full screen made by the window itself (no window manager)
  bool mPlaced = false;
  int32_t mPlacedWidth = 0, mPlacedHeight = 0;
  bool mShown = false;
  mutable std::mutex mPlacementLock;
  TPlacement mPlacement;
};

}  // namespace sd
