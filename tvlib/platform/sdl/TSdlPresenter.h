// The SDL2 presenter: shows frames in an SDL window, windowed or on the full-screen desktop with
// the game's logical size (SDL scales it, keeping the aspect).
//
// Needs: SDL2's video subsystem, initialised on the main thread. Every call must come from the
// main thread. Frames go through one streaming ARGB texture; each Show uploads only the changed
// rectangle, then renders and presents (no vsync: the game paces itself).
#pragma once

#include <memory>

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
  TRect ClientRect() const override;
  void PlaceClient(const TRect& client) override;
  void Show(const uint32_t* pixels, int32_t pitchPixels, int32_t width, int32_t height,
            const TRect& changed) override;

  SDL_Window* Window() const { return mWindow; }

 private:
  TSdlPresenter() = default;
  bool EnsureTexture(int32_t width, int32_t height);

  SDL_Window* mWindow = nullptr;
  SDL_Renderer* mRenderer = nullptr;
  SDL_Texture* mTexture = nullptr;
  int32_t mTextureWidth = 0, mTextureHeight = 0;
  bool mFullScreen = false;
  bool mShown = false;
};

}  // namespace sd
