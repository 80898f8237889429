// Message boxes through SDL2 and the process end, each with a test hook.
#include "tvlib/platform/dialog/TMessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

TMessageBoxHook gBoxHook;
TEndProcessHook gEndHook;

}  // namespace

void ShowMessageBox(const char* text, const char* caption, uint32_t flags) {
  if (gBoxHook) {
    gBoxHook(text, caption, flags);
    return;
  }
  Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
  if (flags == kMbIconHand) kind = SDL_MESSAGEBOX_ERROR;
  if (flags == kMbIconExclamation) kind = SDL_MESSAGEBOX_WARNING;
  if (SDL_ShowSimpleMessageBox(kind, caption, text, nullptr) != 0) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }
}

void EndProcess(int status) {
  if (gEndHook) {
    gEndHook(status);
    return;
  }
  std::exit(status);
}

void SetMessageBoxHook(TMessageBoxHook hook) {
  gBoxHook = std::move(hook);
}
void SetEndProcessHook(TEndProcessHook hook) {
  gEndHook = std::move(hook);
}
