// Message boxes through SDL2, the SDL backend's message-box service.
#include <SDL.h>

#include "tvlib/platform/dialog/TMessageBox.h"
#include "tvlib/platform/sdl/SdlBackend.h"

bool ShowSdlMessageBox(const char* text, const char* caption, uint32_t flags) {
  Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
  if (flags == kMbIconHand) kind = SDL_MESSAGEBOX_ERROR;
  if (flags == kMbIconExclamation) kind = SDL_MESSAGEBOX_WARNING;
  return SDL_ShowSimpleMessageBox(kind, caption, text, nullptr) == 0;
}
