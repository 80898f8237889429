// The SDL2 presenter.
#include "tvlib/platform/sdl/TSdlPresenter.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>

#include "tvlib/platform/x11/XWindowManager.h"

// Last: Xlib's macros must not reach the headers above.
#include <SDL_syswm.h>

namespace sd {
namespace {

// What full screen can be here; a display that is not X11 is left to SDL.
TXWindowManager WindowManagerOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return TXWindowManager::kFullScreen;
  return QueryXWindowManager(info.info.x11.display);
}

// The largest rectangle of the image's aspect inside an output of this size, centred.
TRect FitInto(int32_t imageWidth, int32_t imageHeight, int32_t outWidth, int32_t outHeight) {
  int64_t width = outWidth, height = outHeight;
  if (int64_t{outWidth} * imageHeight > int64_t{outHeight} * imageWidth) {
    width = int64_t{outHeight} * imageWidth / imageHeight;  // bars at the sides
  } else {
    height = int64_t{outWidth} * imageHeight / imageWidth;  // bars above and below
  }
  const int32_t left = static_cast<int32_t>((outWidth - width) / 2);
  const int32_t top = static_cast<int32_t>((outHeight - height) / 2);
  return TRect{left, top, left + static_cast<int32_t>(width), top + static_cast<int32_t>(height)};
}

}  // namespace

std::unique_ptr<TSdlPresenter> TSdlPresenter::Create(SDL_Window* window) {
  if (!window) return nullptr;
  std::unique_ptr<TSdlPresenter> p(new TSdlPresenter());
  p->mWindow = window;
  p->mRenderer = SDL_CreateRenderer(window, -1, 0);
  if (!p->mRenderer) {
    std::fprintf(stderr, "TSdlPresenter::Create: %s\n", SDL_GetError());
    return nullptr;
  }
  return p;
}

TSdlPresenter::~TSdlPresenter() {
  if (mTexture) SDL_DestroyTexture(mTexture);
  if (mRenderer) SDL_DestroyRenderer(mRenderer);
}

TDisplayMode TSdlPresenter::Desktop() const {
  SDL_DisplayMode mode;
  int index = SDL_GetWindowDisplayIndex(mWindow);
  if (SDL_GetDesktopDisplayMode(index < 0 ? 0 : index, &mode) != 0) return {800, 600, 32};
  return {mode.w, mode.h, uint32_t(SDL_BITSPERPIXEL(mode.format))};
}

bool TSdlPresenter::EnterFullScreen(int32_t /*width*/, int32_t /*height*/) {
  switch (WindowManagerOf(mWindow)) {
    case TXWindowManager::kNone: {
      // Nobody would answer the request: the window covers its display itself.
      SDL_Rect bounds;
      int index = SDL_GetWindowDisplayIndex(mWindow);
      if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &bounds) != 0) return false;
      SDL_SetWindowBordered(mWindow, SDL_FALSE);
      SDL_SetWindowPosition(mWindow, bounds.x, bounds.y);
      SDL_SetWindowSize(mWindow, bounds.w, bounds.h);
      mCovering = true;
      break;
    }
    case TXWindowManager::kFullScreen:
      if (SDL_SetWindowFullscreen(mWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
      break;
    case TXWindowManager::kOther:
      return false;  // a manager that places windows its own way: the game stays windowed
  }
  mFullScreen = true;
  return true;
}

void TSdlPresenter::LeaveFullScreen() {
  if (mCovering) {
    SDL_SetWindowBordered(mWindow, SDL_TRUE);
    if (mPlaced) SDL_SetWindowSize(mWindow, mPlacedWidth, mPlacedHeight);
  } else {
    SDL_SetWindowFullscreen(mWindow, 0);
  }
  mCovering = false;
  mFullScreen = false;
}

void TSdlPresenter::PlaceClient(const TRect& client) {
  mPlaced = true;
  mPlacedWidth = client.Width();
  mPlacedHeight = client.Height();
  SDL_SetWindowSize(mWindow, mPlacedWidth, mPlacedHeight);
  SDL_SetWindowPosition(mWindow, client.left, client.top);
}

TRect TSdlPresenter::ClientRect() const {
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(mWindow, &x, &y);
  SDL_GetWindowSize(mWindow, &w, &h);
  if (mPlaced && !mFullScreen) w = mPlacedWidth, h = mPlacedHeight;
  return TRect{x, y, x + w, y + h};
}

bool TSdlPresenter::EnsureTexture(int32_t width, int32_t height) {
  if (mTexture && width == mTextureWidth && height == mTextureHeight) return true;
  if (mTexture) SDL_DestroyTexture(mTexture);
  mTexture = SDL_CreateTexture(mRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               width, height);
  mTextureWidth = mTexture ? width : 0, mTextureHeight = mTexture ? height : 0;
  return mTexture != nullptr;
}

void TSdlPresenter::Show(const uint32_t* pixels, int32_t pitchPixels, int32_t width, int32_t height,
                         const TRect& changed) {
  // The part of the image that is the game's: all of it full screen, the client's part of the
  // desktop image in a window.
  const TRect source = mFullScreen ? TRect{0, 0, width, height} : ClientRect();
  if (source.Width() <= 0 || source.Height() <= 0) return;
  const TRect visible = Intersect(source, TRect{0, 0, width, height});
  bool fresh = !mTexture || source.Width() != mTextureWidth || source.Height() != mTextureHeight;
  if (!EnsureTexture(source.Width(), source.Height())) return;
  TRect upload = Intersect(fresh ? visible : changed, visible);
  if (!upload.IsEmpty()) {
    SDL_Rect r{upload.left - source.left, upload.top - source.top, upload.Width(), upload.Height()};
    SDL_UpdateTexture(mTexture, &r, pixels + size_t(upload.top) * pitchPixels + upload.left,
                      pitchPixels * 4);
  }
  int outWidth = 0, outHeight = 0;
  if (SDL_GetRendererOutputSize(mRenderer, &outWidth, &outHeight) != 0 || outWidth <= 0 ||
      outHeight <= 0) {
    return;
  }
  const TRect target = FitInto(source.Width(), source.Height(), outWidth, outHeight);
  const SDL_Rect to{target.left, target.top, target.Width(), target.Height()};
  SDL_SetRenderDrawColor(mRenderer, 0, 0, 0, 255);
  SDL_RenderClear(mRenderer);
  SDL_RenderCopy(mRenderer, mTexture, nullptr, &to);
  SDL_RenderPresent(mRenderer);
  TPlacement placement{source, target, 0, 0};
  SDL_GetWindowPosition(mWindow, &placement.originX, &placement.originY);
  {
    std::lock_guard<std::mutex> lock(mPlacementLock);
    mPlacement = placement;
  }
  if (!mShown) {
    SDL_ShowWindow(mWindow);
    mShown = true;
  }
}

TRect TSdlPresenter::ImageInWindow() const {
  std::lock_guard<std::mutex> lock(mPlacementLock);
  return mPlacement.target;
}

void TSdlPresenter::DesktopToImage(int32_t* x, int32_t* y) const {
  std::lock_guard<std::mutex> lock(mPlacementLock);
  const TPlacement& p = mPlacement;
  if (p.target.Width() <= 0 || p.target.Height() <= 0) return;
  const double inX = *x - p.originX - p.target.left, inY = *y - p.originY - p.target.top;
  *x = p.shown.left + static_cast<int32_t>(std::floor(inX * p.shown.Width() / p.target.Width()));
  *y = p.shown.top + static_cast<int32_t>(std::floor(inY * p.shown.Height() / p.target.Height()));
}

}  // namespace sd
