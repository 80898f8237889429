// SDL keys to the virtual-key codes of WindowMessages.h.
#pragma once

#include <SDL.h>

#include <cstdint>

// The virtual key of an SDL key and whether it is an "extended" key (the navigation block,
// right Ctrl and Alt, keypad Enter and "/"); false for keys the engine has no code for.
bool SdlKeyToVirtualKey(const SDL_Keysym& key, uint32_t* vk, bool* extended);
