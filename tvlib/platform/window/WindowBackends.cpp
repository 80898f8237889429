// The list of window backends, the choice between them, and the presenter each one gets.
#include <cstdlib>
#include <cstring>

#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/sdl/TSdlPresenter.h"
#include "tvlib/platform/window/TWindowBackend.h"

std::unique_ptr<TWindowBackend> CreateWindowBackend() {
  const char* asked = std::getenv("TV_WINDOW_BACKEND");
  if (asked && std::strcmp(asked, "headless") == 0) return CreateHeadlessWindowBackend();
  // The real backend answers null when no display can be opened.
  if (auto sdl = CreateSdlWindowBackend()) return sdl;
  return CreateHeadlessWindowBackend();
}

std::unique_ptr<sd::TPresenter> CreateWindowPresenter(TWindowBackend* backend) {
  if (SDL_Window* window = backend ? backend->GetSdlWindow() : nullptr) {
    if (auto sdl = sd::TSdlPresenter::Create(window)) return sdl;
  }
  return std::make_unique<sd::THeadlessPresenter>();
}
