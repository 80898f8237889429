// The key table: letters and digits follow the keyboard layout (SDL key codes), the rest
// is taken by physical position (scan codes), as the designed system's key codes do.
#include "tvlib/platform/sdl/SdlKeyTable.h"

#include "tvlib/platform/window/WindowMessages.h"

namespace {

struct TKeyEntry {
  SDL_Scancode scan;
  uint32_t vk;
  bool extended;
};

constexpr TKeyEntry kKeys[] = {
    {SDL_SCANCODE_BACKSPACE, VK_BACK, false},
    {SDL_SCANCODE_TAB, VK_TAB, false},
    {SDL_SCANCODE_RETURN, VK_RETURN, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, true},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, false},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, false},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, false},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, true},
    {SDL_SCANCODE_LALT, VK_MENU, false},
    {SDL_SCANCODE_RALT, VK_MENU, true},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, false},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, true},
    {SDL_SCANCODE_END, VK_END, true},
    {SDL_SCANCODE_HOME, VK_HOME, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, true},
    {SDL_SCANCODE_UP, VK_UP, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, true},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, true},
    {SDL_SCANCODE_INSERT, VK_INSERT, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, true},
    {SDL_SCANCODE_LGUI, VK_LWIN, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, true},
    {SDL_SCANCODE_APPLICATION, VK_APPS, true},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, false},
    {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1, false},
    {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2, false},
    {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3, false},
    {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4, false},
    {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6, false},
    {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7, false},
    {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8, false},
    {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9, false},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, false},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, false},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, true},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, false},
};

}  // namespace

bool SdlKeyToVirtualKey(const SDL_Keysym& key, uint32_t* vk, bool* extended) {
  *extended = false;
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) {
    *vk = static_cast<uint32_t>('A' + (key.sym - SDLK_a));
    return true;
  }
  if (key.sym >= SDLK_0 && key.sym <= SDLK_9) {
    *vk = static_cast<uint32_t>('0' + (key.sym - SDLK_0));
    return true;
  }
  if (key.scancode >= SDL_SCANCODE_F1 && key.scancode <= SDL_SCANCODE_F12) {
    *vk = VK_F1 + static_cast<uint32_t>(key.scancode - SDL_SCANCODE_F1);
    return true;
  }
  for (const TKeyEntry& entry : kKeys) {
    if (entry.scan == key.scancode) {
      *vk = entry.vk;
      *extended = entry.extended;
      return true;
    }
  }
  return false;
}
