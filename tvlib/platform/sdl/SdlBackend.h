// The SDL2 backend's entry points: its window backend, its message box and, for tests, the
// SDL window behind a backend.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/platform/window/TWindowBackend.h"

struct SDL_Window;

// Null when SDL's video cannot start (no display).
std::unique_ptr<TWindowBackend> CreateSdlWindowBackend();
// The SDL window of an SDL backend; null for other backends and before the window exists.
SDL_Window* GetSdlWindow(TWindowBackend& backend);
// Shows a message box through SDL (kMb* flags); false when SDL could not show it.
bool ShowSdlMessageBox(const char* text, const char* caption, uint32_t flags);
