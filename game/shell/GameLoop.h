// The game's event loop: engine events until the quit event (5), each handed to the window
// manager after the game's own rules for three of them:
//   close request (4): asks the close question in a screen of its own ("scripts/
//     closeconfirm.lua"); while the question is up, nothing more; during the splash screen
//     the game quits at once;
//   full-screen switch (19, after Alt+Enter): the display mode is stored as "fullscreen";
//   activation change (18, either way): the level is asked to pause.
// The play-time marks are checked after every event fetched, and the metrics reporter hears
// of every event handled. Needs the platform, its window manager and the profile service.
#pragma once

#include "tvlib/core/TPlatformEvent.h"

class TPlatform;

inline constexpr char kCloseConfirmScript[] = "scripts/closeconfirm.lua";
// The name of the level window in the screens' layouts.
inline constexpr char kLevelWindowName[] = "GameWindow";

// Runs until the quit event, which is not dispatched.
void RunGameLoop(TPlatform* platform);
// The rules of one event (not the quit event), then its dispatch.
void HandleGameEvent(TPlatform* platform, TPlatformEvent* event);
