// The list of window backends and the choice between them.
#include <cstdlib>
#include <cstring>

#include "tvlib/platform/window/TWindowBackend.h"

std::unique_ptr<TWindowBackend> CreateWindowBackend() {
  const char* asked = std::getenv("TV_WINDOW_BACKEND");
  if (asked && std::strcmp(asked, "headless") == 0) return CreateHeadlessWindowBackend();
  // The real backend answers null when no display can be opened.
  if (auto sdl = CreateSdlWindowBackend()) return sdl;
  return CreateHeadlessWindowBackend();
}
