// The game's main function, run once by the framework after start-up: it turns the engine
// into the game and returns when the player quits.
#pragma once

class TPlatform;

inline constexpr char kMainScript[] = "scripts/mainloop.lua";

// Titles the window, builds the profile service, sets up the display, the metrics, the cursor,
// the game's window types and script functions, runs the main script and then the event loop
// until the quit event; at the end records the session and destroys the profile service.
// Answers 0 (the framework does not use it).
int GameMain(TPlatform* platform, const char* commandLine);
