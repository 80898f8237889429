// The SDL2 presenter.
#include "tvlib/platform/sdl/TSdlPresenter.h"

#include <SDL.h>

#include <cstdio>

namespace sd {

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

bool TSdlPresenter::EnterFullScreen(int32_t width, int32_t height) {
  if (SDL_SetWindowFullscreen(mWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
  SDL_RenderSetLogicalSize(mRenderer, width, height);
  mFullScreen = true;
  return true;
}

void TSdlPresenter::LeaveFullScreen() {
  SDL_SetWindowFullscreen(mWindow, 0);
  SDL_RenderSetLogicalSize(mRenderer, 0, 0);
  mFullScreen = false;
}

void TSdlPresenter::PlaceClient(const TRect& client) {
  SDL_SetWindowSize(mWindow, client.Width(), client.Height());
  SDL_SetWindowPosition(mWindow, client.left, client.top);
}

TRect TSdlPresenter::ClientRect() const {
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(mWindow, &x, &y);
  SDL_GetWindowSize(mWindow, &w, &h);
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
  TRect client = ClientRect();
  TRect visible =
      mFullScreen ? TRect{0, 0, width, height} : Intersect(client, TRect{0, 0, width, height});
  int32_t texW = mFullScreen ? width : client.Width();
  int32_t texH = mFullScreen ? height : client.Height();
  if (texW <= 0 || texH <= 0) return;
  int32_t originX = mFullScreen ? 0 : client.left, originY = mFullScreen ? 0 : client.top;
  bool fresh = !mTexture || texW != mTextureWidth || texH != mTextureHeight;
  if (!EnsureTexture(texW, texH)) return;
  TRect upload = Intersect(fresh ? visible : changed, visible);
  if (!upload.IsEmpty()) {
    SDL_Rect r{upload.left - originX, upload.top - originY, upload.Width(), upload.Height()};
    SDL_UpdateTexture(mTexture, &r, pixels + size_t(upload.top) * pitchPixels + upload.left,
                      pitchPixels * 4);
  }
  SDL_RenderClear(mRenderer);
  SDL_RenderCopy(mRenderer, mTexture, nullptr, nullptr);
  SDL_RenderPresent(mRenderer);
  if (!mShown) {
    SDL_ShowWindow(mWindow);
    mShown = true;
  }
}

}  // namespace sd
