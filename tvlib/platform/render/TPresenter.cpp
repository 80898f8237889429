// Chooses the presenter: SDL2 for players, headless when asked for or when no display opens.
#include "tvlib/platform/render/TPresenter.h"

#include <cstdlib>
#include <cstring>

#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/sdl/TSdlPresenter.h"

namespace sd {

std::unique_ptr<TPresenter> ChoosePresenter(const char* title) {
  const char* headless = std::getenv("TV_HEADLESS");
  if (!(headless && *headless && std::strcmp(headless, "0") != 0)) {
    if (auto sdl = TSdlPresenter::CreateWithWindow(title, 800, 600)) return sdl;
  }
  return std::make_unique<THeadlessPresenter>();
}

}  // namespace sd
