// What the X display's window manager offers the game's full screen.
//
// No window manager at all: nothing answers a full-screen request, but a window may place and
// size itself freely, so the game covers the screen itself. A manager that announces
// _NET_WM_STATE_FULLSCREEN (the freedesktop window-manager hints) makes a window full screen
// when asked. Any other manager places windows by its own rules, and the game stays windowed.
#pragma once

#include "tvlib/platform/x11/HostMessage.h"

enum class TXWindowManager { kNone, kFullScreen, kOther };

// Asks the display's first screen; kNone also when the display is null.
TXWindowManager QueryXWindowManager(TXDisplay* display);
